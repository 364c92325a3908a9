// What the size scan and the tree copy leave out of a plugin directory.
#pragma once

#include <windows.h>

// "." and "..", and every file or directory whose extension is ".zip" or ".rar" (any case).
BOOL IsLeftOutEntry(const char *name);
