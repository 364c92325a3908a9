// Directory links that lead back into the path being walked.
#pragma once

#include <windows.h>

// TRUE when the directory at path (a link met during a walk) is the same directory as one of
// the directories the path passes through. Following it would walk the same tree again and again.
BOOL LinksBackIntoPath(const char *path);

// Whether a search entry is a directory link, the only kind of entry that can close a loop.
BOOL IsDirectoryLink(const WIN32_FIND_DATAA &entry);
