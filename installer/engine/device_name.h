// Names taken from desktop settings values that become one entry of a directory on the device.
#pragma once

#include <windows.h>

// TRUE when name gives a new entry right inside the directory it is appended to: not empty, not
// "." or "..", no '/' or ':' (another separator, a drive or a stream), and no trailing '.' or
// blank, which the file system drops (so "arc." would land in the entry "arc").
BOOL IsSafeDeviceName(const char *name);
