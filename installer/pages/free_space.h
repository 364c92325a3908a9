#pragma once

// KiB free for the current user on the volume that holds path (%NAME% references expanded);
// 0 when it cannot be found out.
unsigned long long FreeSpaceKiB(const char *path);

// Cuts a path to the root of its volume: "c:\" for a drive path, "\\server\share" for a share.
void ReduceToVolumeRoot(char *path);

// The fallback arithmetic for systems without GetDiskFreeSpaceExA, in 32-bit unsigned steps.
unsigned int FreeKiBFromClusters(unsigned int sectorsPerCluster, unsigned int bytesPerSector,
                                 unsigned int freeClusters);
