#include "files/directory_walk.h"

#include "base/path_helpers.h"
#include "files/entry_filter.h"
#include "files/link_guard.h"

namespace {

const char SEARCH_PATTERN[] = "*.*";
const int SEARCH_PATTERN_CHARS = COUNTOF(SEARCH_PATTERN) - 1;

BOOL EndsInBackslash(char *path)
{
    int length = lstrlenA(path);
    return length > 0 && *CharPrevA(path, path + length) == '\\';
}

// A directory needs room for its separator and, when it is searched, for the search pattern.
BOOL FitsWalkedSide(int levelLength, const char *name, BOOL isDirectory)
{
    int room = isDirectory ? 1 + SEARCH_PATTERN_CHARS : 0;
    return levelLength + lstrlenA(name) + room <= PATH_MAX_CHARS;
}

int WalkLevel(DirectoryWalk *walk);

// Handles one entry of the level whose directory the path holds (levelLength characters).
int VisitEntry(DirectoryWalk *walk, const WIN32_FIND_DATAA &entry, int levelLength)
{
    const DirectoryVisitor &visitor = *walk->Visitor;
    if (visitor.EntryFound && !visitor.EntryFound(walk->Context))
        return WALK_STOP;
    if (IsLeftOutEntry(entry.cFileName))
        return WALK_GO_ON;
    BOOL isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const char *levelRelative = walk->Path + walk->RootLength;
    // A cut name would name another entry, or the same directory for ever.
    if (!FitsWalkedSide(levelLength, entry.cFileName, isDirectory) ||
        (visitor.EntryFits && !visitor.EntryFits(walk->Context, levelRelative, entry.cFileName, isDirectory)))
        return visitor.EntryTooLong ? visitor.EntryTooLong(walk->Context, levelRelative, entry.cFileName)
                                    : WALK_GO_ON;

    AppendBounded(walk->Path, COUNTOF(walk->Path), entry.cFileName);
    const char *relative = walk->Path + walk->RootLength;
    if (!isDirectory)
        return visitor.File ? visitor.File(walk->Context, walk->Path, relative, entry) : WALK_GO_ON;
    // A link back into the walked path would walk the same tree again and again.
    if (IsDirectoryLink(entry) && LinksBackIntoPath(walk->Path))
        return WALK_GO_ON;
    if (visitor.Directory && !visitor.Directory(walk->Context, walk->Path, relative))
        return WALK_STOP;
    AppendBackslash(walk->Path, COUNTOF(walk->Path));
    return WalkLevel(walk);
}

// The path ends in a backslash (or is empty) and has room for the search pattern. The search is
// closed on every path out.
int WalkLevel(DirectoryWalk *walk)
{
    char *levelEnd = StringEnd(walk->Path);
    int levelLength = static_cast<int>(levelEnd - walk->Path);

    AppendBounded(walk->Path, COUNTOF(walk->Path), SEARCH_PATTERN);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(walk->Path, &entry);
    DWORD searchError = GetLastError();
    *levelEnd = '\0';
    if (search == INVALID_HANDLE_VALUE) {
        const DirectoryVisitor &visitor = *walk->Visitor;
        return visitor.Unlisted ? visitor.Unlisted(walk->Context, walk->Path, walk->Path + walk->RootLength,
                                                   searchError)
                                : WALK_GO_ON;
    }

    int answer = WALK_GO_ON;
    do {
        answer = VisitEntry(walk, entry, levelLength);
        *levelEnd = '\0';
    } while (answer && FindNextFileA(search, &entry));
    FindClose(search);
    return answer;
}

}  // namespace

BOOL LoadDirectoryPath(char *buffer, int capacity, const char *path, int room)
{
    if (lstrlenA(path) > capacity - 1)
        return FALSE;
    CopyBounded(buffer, capacity, path);
    if (buffer[0] == '\0')
        return TRUE;
    AppendBackslash(buffer, capacity);
    return EndsInBackslash(buffer) && lstrlenA(buffer) + room <= capacity - 1;
}

BOOL BeginWalk(DirectoryWalk *walk, const char *directory)
{
    walk->RootLength = 0;
    walk->Visitor = NULL;
    walk->Context = NULL;
    if (!LoadDirectoryPath(walk->Path, COUNTOF(walk->Path), directory, SEARCH_PATTERN_CHARS))
        return FALSE;
    walk->RootLength = lstrlenA(walk->Path);
    return TRUE;
}

int WalkDirectory(DirectoryWalk *walk, const DirectoryVisitor *visitor, void *context)
{
    walk->Visitor = visitor;
    walk->Context = context;
    return WalkLevel(walk);
}
