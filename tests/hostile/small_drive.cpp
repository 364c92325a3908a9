#include "hostile/small_drive.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "support/trees.h"

namespace hostile {

std::string FreshSmallDriveDirectory(const char *name)
{
    const char *drive = getenv("VELTRANO_SMALL_DRIVE");
    if (!drive || !*drive) {
        ADD_FAILURE() << "VELTRANO_SMALL_DRIVE is not set: run the tests with scripts/test as root, which mounts a "
                         "small tmpfs and maps it to a drive letter";
        return std::string();
    }
    std::string root = std::string(drive) + "\\";
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free) || total.QuadPart >= 1024u * 1024u) {
        ADD_FAILURE() << root << " is not the small drive";
        return std::string();
    }
    std::string directory = root + name;
    RemoveTree(directory);
    if (!CreateDirectoryA(directory.c_str(), NULL)) {
        ADD_FAILURE() << "cannot create " << directory;
        return std::string();
    }
    return directory;
}

}  // namespace hostile
