// What a directory tree holds, contents included, to compare before and after a run and say what changed.
#pragma once

#include <windows.h>

#include <map>
#include <string>

struct TreeEntry {
    bool Directory = false;
    unsigned long long Size = 0;
    DWORD Attributes = 0;
    std::string Contents;  // files only
};

// Relative path (backslashes, directories without a trailing one) -> entry. Names keep their case.
typedef std::map<std::string, TreeEntry> TreeSnapshot;

// Everything below root; an empty snapshot when root does not exist.
TreeSnapshot SnapshotTree(const std::string &root);

// "" when equal, else one line per difference (added, removed, changed and how).
std::string TreeDifferences(const TreeSnapshot &before, const TreeSnapshot &after);
