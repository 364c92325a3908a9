#include "files/directory_size.h"

#include "files/directory_walk.h"

namespace {

int AddFileSize(void *context, const char *, const char *, const WIN32_FIND_DATAA &entry)
{
    *static_cast<unsigned long long *>(context) +=
        (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    return WALK_GO_ON;
}

// Nothing stops a scan: what cannot be measured is left out.
const DirectoryVisitor SIZE_VISITOR = {NULL, NULL, NULL, AddFileSize, NULL, NULL};

}  // namespace

unsigned long long DirectorySize(const char *directory)
{
    unsigned long long bytes = 0;
    DirectoryWalk walk;
    if (BeginWalk(&walk, directory))
        WalkDirectory(&walk, &SIZE_VISITOR, &bytes);
    return bytes;
}
