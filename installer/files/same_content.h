#pragma once

#include <windows.h>

// TRUE when both files can be read and hold the same bytes.
BOOL SameFileContent(const char *first, const char *second);
