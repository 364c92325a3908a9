#include "pages/free_space.h"

#include <windows.h>

#include "startup/install_state.h"
#include "startup/path_helpers.h"

namespace {

typedef BOOL(WINAPI *GetDiskFreeSpaceExProc)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

void ReduceToVolumeRoot(char *path)
{
    if (path[0] && path[1] == ':') {
        if (path[2])
            path[3] = '\0';
        return;
    }
    if (path[0] == '\\' && path[1] == '\\') {
        char *serverEnd = path + 2;
        while (*serverEnd && *serverEnd != '\\')
            ++serverEnd;
        if (!*serverEnd)
            return;
        char *shareEnd = serverEnd + 1;
        while (*shareEnd && *shareEnd != '\\')
            ++shareEnd;
        if (*shareEnd)
            *shareEnd = '\0';
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
    CopyBounded(root, path, COUNTOF(root));
    ExpandEnvRefs(root, PATH_MAX_CHARS);
    ReduceToVolumeRoot(root);

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
