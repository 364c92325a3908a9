// What a directory tree and the Veltrano registry values hold, to compare before and after a run.
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

// Type and data of every value under SOFTWARE\Ostrand\Veltrano in both hives, one line each.
std::string SnapshotVeltranoRegistry();

// Whole file, or "" when it cannot be read.
std::string ReadWholeFile(const std::string &path);
