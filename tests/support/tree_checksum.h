// A tree's state in one text, to compare before and after a run.
#pragma once

#include <string>

// One line per entry below dir (paths past 259 characters count too), sorted: relative path,
// size, attributes, write time, and a content hash for files up to 64 MiB. Links are listed and
// not followed. The entry at `skip` (a full path) and all below it are left out. Two equal
// checksums mean nothing in the tree changed.
std::string TreeChecksum(const std::string &dir, const std::string &skip = std::string());
