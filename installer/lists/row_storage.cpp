#include "lists/row_storage.h"

void *AppendRecord(void **rows, int *count, int *capacity, size_t size)
{
    if (*count >= *capacity) {
        int grown = *capacity ? *capacity * 2 : 64;
        SIZE_T bytes = static_cast<SIZE_T>(grown) * size;
        void *block = *rows ? HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, *rows, bytes)
                            : HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
        if (!block)
            return NULL;
        *rows = block;
        *capacity = grown;
    }
    char *record = static_cast<char *>(*rows) + static_cast<SIZE_T>(*count) * size;
    ZeroMemory(record, size);
    ++*count;
    return record;
}

void ReleaseRecords(void **rows, int *count, int *capacity)
{
    if (*rows)
        HeapFree(GetProcessHeap(), 0, *rows);
    *rows = NULL;
    *count = 0;
    *capacity = 0;
}
