#include "support/temp_directory.h"

#include <windows.h>

#include <cstdio>

#include "support/files.h"
#include "support/trees.h"

std::string TempDirectory()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

std::string FreshTempDirectory(const char *name)
{
    std::string path = TempDirectory() + name;
    RemoveTree(path);
    MakeDirectories(path);
    return path;
}

std::string UniqueTempDirectory(const char *tag)
{
    static int counter = 0;
    std::string temp = TempDirectory();
    for (;;) {
        char name[MAX_PATH + 64];
        snprintf(name, sizeof(name), "%s%s_%lu_%lu_%d", temp.c_str(), tag, GetCurrentProcessId(), GetTickCount(),
                 ++counter);
        if (CreateDirectoryA(name, NULL))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
}

ScratchDirectory::ScratchDirectory(const std::string &name)
    : Path(FreshTempDirectory(("tree_copy_" + name).c_str()))
{
}

ScratchDirectory::~ScratchDirectory()
{
    RemoveTree(Path);
}
