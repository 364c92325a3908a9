// What the copy tests read back from a tree beyond its listing, and the links they set up in it.
#pragma once

#include <string>

#include "support/trees.h"      // Join, BuildTree, ListTree
#include "support/unix_side.h"  // MakeUnixSymlink

std::string ReadTextFile(const std::string &path);  // "<missing>" when it cannot be read
unsigned long Attributes(const std::string &path);  // INVALID_FILE_ATTRIBUTES when missing
