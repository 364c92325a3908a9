#include "lists/row_storage.h"

void *NextRecord(void **rows, int *capacity, int count, size_t size)
{
    if (count >= *capacity) {
        int grown = *capacity ? *capacity * 2 : 64;
        SIZE_T bytes = static_cast<SIZE_T>(grown) * size;
        void *block = *rows ? HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, *rows, bytes)
                            : HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
        if (!block)
            return NULL;
        *rows = block;
        *capacity = grown;
    }
    char *record = static_cast<char *>(*rows) + static_cast<SIZE_T>(count) * size;
    ZeroMemory(record, size);
    return record;
}

void ReleaseRecords(void **rows, int *capacity)
{
    if (*rows)
        HeapFree(GetProcessHeap(), 0, *rows);
    *rows = NULL;
    *capacity = 0;
}
