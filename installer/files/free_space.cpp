#include "files/free_space.h"

#include <windows.h>

#include "base/buffers.h"
#include "base/path_helpers.h"

namespace {

typedef BOOL(WINAPI *GetDiskFreeSpaceExProc)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// The next backslash at or after text, stepping over double-byte characters; NULL when none.
char *NextBackslash(char *text)
{
    for (; *text; text = CharNextA(text)) {
        if (*text == '\\')
            return text;
    }
    return NULL;
}

}  // namespace

void ReduceToVolumeRoot(char *path, int capacity)
{
    if (path[0] && path[1] == ':') {
        if (path[2])
            path[3] = '\0';
        return;
    }
    if (path[0] == '\\' && path[1] == '\\') {
        char *serverEnd = NextBackslash(path + 2);
        if (!serverEnd)
            return;
        // A share's root needs its trailing backslash: without it the free-space query fails.
        char *shareEnd = NextBackslash(serverEnd + 1);
        if (shareEnd)
            shareEnd[1] = '\0';
        else if (serverEnd[1])
            AppendBackslash(path, capacity);
    }
}

unsigned int FreeKiBFromClusters(unsigned int sectorsPerCluster, unsigned int bytesPerSector,
                                 unsigned int freeClusters)
{
    unsigned int clusterSize = sectorsPerCluster * bytesPerSector;
    if (clusterSize <= 1024)
        return clusterSize * freeClusters / 1024;
    return clusterSize / 1024 * freeClusters;
}

unsigned long long FreeSpaceKiB(const char *path)
{
    char root[PATH_BUFFER_SIZE];
    CopyBounded(root, COUNTOF(root), path);
    ExpandEnvRefs(root, COUNTOF(root));
    ReduceToVolumeRoot(root, COUNTOF(root));

    // Looked up at every call: older systems lack it.
    GetDiskFreeSpaceExProc getFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExProc>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
    if (getFreeSpaceEx) {
        ULARGE_INTEGER available, total, totalFree;
        if (!getFreeSpaceEx(root, &available, &total, &totalFree))
            return 0;
        return available.QuadPart / 1024;
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return 0;
    return FreeKiBFromClusters(sectorsPerCluster, bytesPerSector, freeClusters);
}
