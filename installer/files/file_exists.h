#pragma once

#include <windows.h>

// The first entry matching the path exists and is not a directory (the path is a search pattern).
BOOL FileExists(const char *path);
