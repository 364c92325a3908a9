// Names taken from desktop settings values that become one entry of a directory on the device.
#pragma once

#include <windows.h>

// TRUE when name gives a new entry right inside the directory it is appended to: not empty, not
// "." or "..", no '/' or ':' (another separator, a drive or a stream), no trailing '.' or blank,
// which the file system drops (so "arc." would land in the entry "arc"), and no reserved device
// name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9) before its first '.', which opens the
// device whatever the extension: a copy from or to "nul.bar" reads or writes no file.
BOOL IsSafeDeviceName(const char *name);
