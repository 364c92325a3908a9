#include "engine/tree_copy.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "files/entry_filter.h"
#include "files/link_guard.h"
#include "files/whole_copy.h"
#include "pages/run_report.h"

namespace {

// Shared by every level of one copy: while an entry is handled they hold its full source
// and target paths. Only one copy may run at a time.
char SourcePath[PATH_BUFFER_SIZE];
char TargetPath[PATH_BUFFER_SIZE];

const char SEARCH_PATTERN[] = "*.*";
const int SEARCH_PATTERN_CHARS = COUNTOF(SEARCH_PATTERN) - 1;

// Room for a whole target path plus an entry name that did not fit beside it.
enum { CAPTION_BUFFER_SIZE = 2 * PATH_BUFFER_SIZE };

BOOL EndsInBackslash(char *path)
{
    int length = lstrlenA(path);
    return length > 0 && *CharPrevA(path, path + length) == '\\';
}

// Loads a directory argument ending in a backslash, with `room` characters to spare behind it.
// FALSE when it does not fit: a cut path would name another directory.
BOOL LoadDirectoryPath(char *buffer, int capacity, const char *path, int room)
{
    if (lstrlenA(path) > capacity - 1)
        return FALSE;
    CopyBounded(buffer, path, capacity);
    if (buffer[0] == '\0')
        return TRUE;
    AppendBackslash(buffer, capacity);
    return EndsInBackslash(buffer) && lstrlenA(buffer) + room <= capacity - 1;
}

// A directory needs room for its separator, and on the source side for the search pattern too.
BOOL EntryFits(const char *name, BOOL isDirectory, int sourceLength, int targetLength)
{
    int nameLength = lstrlenA(name);
    int sourceRoom = isDirectory ? 1 + SEARCH_PATTERN_CHARS : 0;
    int targetRoom = isDirectory ? 1 : 0;
    return sourceLength + nameLength + sourceRoom <= PATH_MAX_CHARS &&
           targetLength + nameLength + targetRoom <= PATH_MAX_CHARS;
}

void ReportEntryTooLong(const char *name)
{
    char fullTarget[CAPTION_BUFFER_SIZE];
    CopyBounded(fullTarget, TargetPath, COUNTOF(fullTarget));
    AppendBounded(fullTarget, name, COUNTOF(fullTarget));
    ReportCopyError(fullTarget, ERROR_FILENAME_EXCED_RANGE);
}

// Copies the file whose paths are in the buffers. 1 to go on, 0 when the tree stops. A failed
// copy leaves nothing it wrote; a file that was there before stays untouched.
int CopyOneFile()
{
    DWORD error;
    if (CopyWholeFile(SourcePath, TargetPath, TRUE, &error)) {
        SetFileAttributesA(TargetPath, 0);
        return 1;
    }
    if (error == ERROR_FILE_EXISTS)
        return 1;
    ReportCopyError(TargetPath, error);
    return 0;
}

int CopyLevel();

// A search that finds nothing at all in a directory that is there: the directory is empty (a
// drive root holds not even "." and ".."). The source buffer names the directory.
BOOL EmptyDirectory(DWORD searchError)
{
    if (searchError != ERROR_FILE_NOT_FOUND && searchError != ERROR_NO_MORE_FILES)
        return FALSE;
    DWORD attributes = GetFileAttributesA(SourcePath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A directory that is missing or cannot be listed copies nothing, and so its tree did not arrive:
// put to the user like any copy error, captioned with the directory on the device.
int ReportUnlistedDirectory(DWORD searchError)
{
    ReportCopyError(TargetPath, searchError);
    return 0;
}

// Creates (or reuses) the subdirectory whose paths are in the buffers and copies into it.
int CopySubdirectory()
{
    if (!CreateDirectoryA(TargetPath, NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return 0;
    AppendBackslash(SourcePath, COUNTOF(SourcePath));
    AppendBackslash(TargetPath, COUNTOF(TargetPath));
    return CopyLevel();
}

// Handles one entry of the level whose directories the buffers hold. 1 to go on, 0 to stop.
int CopyEntry(const WIN32_FIND_DATAA &entry, int sourceLength, int targetLength)
{
    PumpMessages();
    if (InstallState.AbortRequested)
        return 0;
    if (IsLeftOutEntry(entry.cFileName))
        return 1;
    BOOL isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!EntryFits(entry.cFileName, isDirectory, sourceLength, targetLength)) {
        ReportEntryTooLong(entry.cFileName);
        return 0;
    }
    AppendBounded(SourcePath, entry.cFileName, COUNTOF(SourcePath));
    // A link back into the walked path would copy the same tree into itself; the size scan
    // leaves it out too.
    if (isDirectory && IsDirectoryLink(entry) && LinksBackIntoPath(SourcePath))
        return 1;
    AppendBounded(TargetPath, entry.cFileName, COUNTOF(TargetPath));
    return isDirectory ? CopySubdirectory() : CopyOneFile();
}

// Both buffers end in a backslash and name this level's directories; the source has room
// for the search pattern. The search is closed on every path out.
int CopyLevel()
{
    char *sourceEnd = StringEnd(SourcePath);
    char *targetEnd = StringEnd(TargetPath);
    int sourceLength = static_cast<int>(sourceEnd - SourcePath);
    int targetLength = static_cast<int>(targetEnd - TargetPath);

    AppendBounded(SourcePath, SEARCH_PATTERN, COUNTOF(SourcePath));
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(SourcePath, &entry);
    DWORD searchError = GetLastError();
    *sourceEnd = '\0';
    if (search == INVALID_HANDLE_VALUE)
        return EmptyDirectory(searchError) ? 1 : ReportUnlistedDirectory(searchError);

    int result = 1;
    do {
        result = CopyEntry(entry, sourceLength, targetLength);
        *sourceEnd = '\0';
        *targetEnd = '\0';
    } while (result && FindNextFileA(search, &entry));
    FindClose(search);
    return result;
}

}  // namespace

int CopyTree(const char *source, const char *target)
{
    if (!LoadDirectoryPath(SourcePath, COUNTOF(SourcePath), source, SEARCH_PATTERN_CHARS) ||
        !LoadDirectoryPath(TargetPath, COUNTOF(TargetPath), target, 0)) {
        ReportCopyError(target, ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    return CopyLevel();
}
