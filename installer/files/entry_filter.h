// The directory entries that are neither measured nor copied along with a plugin.
#pragma once

#include <windows.h>

// TRUE for "." and "..", and for every file or directory whose extension (the text from the
// last '.' of the name) is ".zip" or ".rar", letters compared without regard to case.
BOOL IsLeftOutEntry(const char *name);
