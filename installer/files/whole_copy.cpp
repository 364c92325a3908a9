#include "files/whole_copy.h"

namespace {

BOOL SameState(const WIN32_FILE_ATTRIBUTE_DATA &a, const WIN32_FILE_ATTRIBUTE_DATA &b)
{
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

}  // namespace

BOOL CopyWholeFile(const char *source, const char *target, BOOL failIfExists, DWORD *error)
{
    WIN32_FILE_ATTRIBUTE_DATA before;
    BOOL existed = GetFileAttributesExA(target, GetFileExInfoStandard, &before);
    if (CopyFileA(source, target, failIfExists)) {
        *error = ERROR_SUCCESS;
        return TRUE;
    }
    *error = GetLastError();
    WIN32_FILE_ATTRIBUTE_DATA after;
    if (!GetFileAttributesExA(target, GetFileExInfoStandard, &after) ||
        (after.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    if (existed && SameState(before, after))
        return FALSE;
    // The copy may have carried the source's read-only attribute along.
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target);
    return FALSE;
}
