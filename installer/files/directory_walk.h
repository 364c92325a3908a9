// One walk over a directory tree for the size scan and the tree copy, so that the size shown and
// what is copied agree on the entries left out, the paths that fit and the links not followed.
#pragma once

#include <windows.h>

#include "base/buffers.h"

// What a visitor's callbacks answer.
enum WalkAnswer { WALK_STOP = 0, WALK_GO_ON = 1 };

// Callbacks of one walk, each handed the visitor's context. Any of them may be NULL: the walk then
// goes on as the comment says. A path is the full path on the walked side; a relative path is the
// part of it below the walked directory, the same on any side the visitor mirrors the tree to.
struct DirectoryVisitor {
    // Every entry a search finds, "." and ".." included, before the walk looks at it.
    // NULL: go on.
    int (*EntryFound)(void *context);
    // The visitor's own bound for an entry that fits the walked side. levelRelative names the
    // entry's directory (empty, or ending in a backslash). NULL: it fits.
    BOOL (*EntryFits)(void *context, const char *levelRelative, const char *name, BOOL isDirectory);
    // An entry whose path does not fit, on either side. NULL: it is left out and the walk goes on.
    int (*EntryTooLong)(void *context, const char *levelRelative, const char *name);
    // A file. NULL: go on.
    int (*File)(void *context, const char *path, const char *relative, const WIN32_FIND_DATAA &entry);
    // A directory, before it is walked (no trailing backslash). WALK_STOP ends the walk without
    // entering it. NULL: it is walked.
    int (*Directory)(void *context, const char *path, const char *relative);
    // A directory whose search found nothing (path and relative path end in a backslash unless
    // empty); searchError is the search's last error. NULL: go on.
    int (*Unlisted)(void *context, const char *path, const char *relative, DWORD searchError);
};

// One walk in progress. Path holds the entry being handled: each level appends to it and cuts
// back, so one buffer serves the whole tree and a walk needs nothing beyond its own record.
struct DirectoryWalk {
    char Path[PATH_BUFFER_SIZE];
    int RootLength;  // Path + RootLength is the relative path
    const DirectoryVisitor *Visitor;
    void *Context;
};

// Loads a directory argument into buffer, ending in a backslash (an empty path stays empty, the
// current directory), with room characters to spare behind it. FALSE when it does not fit: a cut
// path would name another directory.
BOOL LoadDirectoryPath(char *buffer, int capacity, const char *path, int room);

// Loads the directory to walk. FALSE when its path leaves no room for a search: nothing to walk.
BOOL BeginWalk(DirectoryWalk *walk, const char *directory);

// Walks the loaded directory, each directory before what it holds, in the search's order. Left
// out are the entries IsLeftOutEntry names, entries whose path (or, for a directory, whose search
// pattern) would not fit, and links back into the walked path. 1 when the whole tree was walked,
// 0 when a callback stopped it.
int WalkDirectory(DirectoryWalk *walk, const DirectoryVisitor *visitor, void *context);
