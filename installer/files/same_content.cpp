#include "files/same_content.h"

#include <string.h>

namespace {

const DWORD BLOCK_SIZE = 64 * 1024;

HANDLE OpenForReading(const char *path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
}

// Reads until block is full or the file ends; FALSE on a read error.
BOOL ReadBlock(HANDLE file, char *block, DWORD *got)
{
    *got = 0;
    while (*got < BLOCK_SIZE) {
        DWORD read = 0;
        if (!ReadFile(file, block + *got, BLOCK_SIZE - *got, &read, NULL))
            return FALSE;
        if (read == 0)
            break;
        *got += read;
    }
    return TRUE;
}

BOOL SameBlocks(HANDLE first, HANDLE second)
{
    static char firstBlock[BLOCK_SIZE], secondBlock[BLOCK_SIZE];
    for (;;) {
        DWORD firstGot, secondGot;
        if (!ReadBlock(first, firstBlock, &firstGot) || !ReadBlock(second, secondBlock, &secondGot) ||
            firstGot != secondGot)
            return FALSE;
        if (firstGot == 0)
            return TRUE;
        if (memcmp(firstBlock, secondBlock, firstGot) != 0)
            return FALSE;
    }
}

}  // namespace

BOOL SameFileContent(const char *first, const char *second)
{
    HANDLE firstFile = OpenForReading(first);
    if (firstFile == INVALID_HANDLE_VALUE)
        return FALSE;
    HANDLE secondFile = OpenForReading(second);
    if (secondFile == INVALID_HANDLE_VALUE) {
        CloseHandle(firstFile);
        return FALSE;
    }
    LARGE_INTEGER firstSize, secondSize;
    BOOL same = GetFileSizeEx(firstFile, &firstSize) && GetFileSizeEx(secondFile, &secondSize) &&
                firstSize.QuadPart == secondSize.QuadPart && SameBlocks(firstFile, secondFile);
    CloseHandle(firstFile);
    CloseHandle(secondFile);
    return same;
}
