#pragma once

// KiB free for the current user on the volume that holds path (%NAME% references expanded);
// 0 when it cannot be found out.
unsigned long long FreeSpaceKiB(const char *path);

// Cuts a path to the root of its volume: "c:\" for a drive path, "\\server\share\" for a share
// (a share's root needs the backslash, which is added when the path ends with the share name).
// capacity is the buffer's size in bytes.
void ReduceToVolumeRoot(char *path, int capacity);

// The fallback arithmetic for systems without GetDiskFreeSpaceExA, in 32-bit unsigned steps.
unsigned int FreeKiBFromClusters(unsigned int sectorsPerCluster, unsigned int bytesPerSector,
                                 unsigned int freeClusters);
