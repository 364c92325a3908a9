// Directories of the tests' own under the temporary directory.
#pragma once

#include <string>

// The temporary directory, with its trailing backslash.
std::string TempDirectory();

// TempDirectory() + name, emptied (whatever an earlier run left is removed) or created; without
// trailing backslash.
std::string FreshTempDirectory(const char *name);

// A directory under the temporary directory that did not exist before, its name made of tag, the
// process id and a counter; empty when none can be created.
std::string UniqueTempDirectory(const char *tag);

// A fresh directory "tree_copy_<name>" that goes away with the object.
struct ScratchDirectory {
    explicit ScratchDirectory(const std::string &name);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;
    std::string Path;  // without trailing backslash
};
