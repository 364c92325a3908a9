// What the copy tests read back from a tree beyond its listing, and the links they set up in it.
#pragma once

#include <string>

#include "support/trees.h"  // Join, BuildTree, ListTree

std::string ReadTextFile(const std::string &path);  // "<missing>" when it cannot be read
unsigned long Attributes(const std::string &path);  // INVALID_FILE_ATTRIBUTES when missing

// Creates a unix symbolic link `linkName` in the directory `directory`, pointing to `target`
// (taken as written, relative to the link), with the system's own ln. False when it failed.
bool MakeUnixSymlink(const std::string &directory, const std::string &linkName, const std::string &target);
