// Reads the process environment in the ANSI code page.
#pragma once

#include <windows.h>

// Reads the variable `name` (an ANSI string) through the environment's wide form and converts
// the value with the ANSI code page. Returns the value's whole length in bytes, 0 when the
// variable is unset or empty. value (capacity bytes, may be NULL when capacity is 0) receives
// the value, cut at a whole character so that it ends within capacity - 1 bytes; a caller
// that must not use a cut value compares the result with its capacity.
// Why not GetEnvironmentVariableA: Wine's (8.0, in its kernelbase) ends a double-byte value at
// its length in characters instead of bytes, which cuts such a path short. The wide form and the
// conversion give the same bytes as GetEnvironmentVariableA does on Windows.
DWORD ReadEnvironmentValue(char *value, DWORD capacity, const char *name);
