#include "files/directory_size.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "files/entry_filter.h"
#include "files/link_guard.h"

namespace {

// Shared by every level of one scan; each level appends its entry and cuts back.
char ScanPath[PATH_BUFFER_SIZE];

unsigned long long MeasureLevel()
{
    const int end = lstrlenA(ScanPath);
    if (end + 3 > PATH_MAX_CHARS)
        return 0;
    lstrcpyA(ScanPath + end, "*.*");
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(ScanPath, &entry);
    ScanPath[end] = '\0';
    if (search == INVALID_HANDLE_VALUE)
        return 0;

    unsigned long long sum = 0;
    do {
        if (IsLeftOutEntry(entry.cFileName))
            continue;
        const int nameLength = lstrlenA(entry.cFileName);
        const BOOL isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // A cut name would measure another entry, or the same directory for ever.
        if (end + nameLength + (isDirectory ? 1 : 0) > PATH_MAX_CHARS)
            continue;
        if (!isDirectory) {
            sum += (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            continue;
        }
        lstrcpyA(ScanPath + end, entry.cFileName);
        if (!IsDirectoryLink(entry) || !LinksBackIntoPath(ScanPath)) {
            AppendBackslash(ScanPath, COUNTOF(ScanPath));
            sum += MeasureLevel();
        }
        ScanPath[end] = '\0';
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return sum;
}

}  // namespace

unsigned long long DirectorySize(const char *directory)
{
    if (lstrlenA(directory) > PATH_MAX_CHARS - 1)
        return 0;
    CopyBounded(ScanPath, directory, COUNTOF(ScanPath));
    AppendBackslash(ScanPath, COUNTOF(ScanPath));
    return MeasureLevel();
}
