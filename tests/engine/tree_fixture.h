// Real directory trees for the copy tests, written and read back through the wide-character
// file functions so that paths longer than the ANSI limit can be set up and checked.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "support/files.h"  // WriteTextFile, RemoveTree

// A fresh, empty directory under the temporary directory, named after the running test.
// Removed again when the fixture goes out of scope.
struct ScratchDirectory {
    explicit ScratchDirectory(const std::string &name);
    ~ScratchDirectory();
    std::string Path;  // without trailing backslash
};

// Entries relative to root: a name ending in a backslash is a directory, any other a file
// whose content is its own relative path (so that every file is told apart by its content).
void BuildTree(const std::string &root, const std::vector<std::string> &entries);

std::string ReadTextFile(const std::string &path);  // "<missing>" when it cannot be read
bool PathExists(const std::string &path);
unsigned long Attributes(const std::string &path);  // INVALID_FILE_ATTRIBUTES when missing

// Every entry below root, relative, directories with a trailing backslash. Symbolic links are
// listed but not followed.
std::set<std::string> ListTree(const std::string &root);

// Creates a unix symbolic link `linkName` in the directory `directory`, pointing to `target`
// (taken as written, relative to the link), with the system's own ln. False when it failed.
bool MakeUnixSymlink(const std::string &directory, const std::string &linkName, const std::string &target);

// "c:\a\b" + "x" with a backslash between.
std::string Join(const std::string &directory, const std::string &name);
