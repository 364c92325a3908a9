// The one case-insensitive comparison for fixed names and paths. Only the letters A to Z fold,
// the same way in every user locale; every other byte compares exactly, and so does the trail
// byte of a double-byte character (it may lie in the range of the ASCII letters).
#pragma once

#include <windows.h>

// Below, equal to or above 0 as a sorts before, equal to or after b; a total order, so that
// sorting by it puts equal texts side by side.
int CompareIgnoringCase(const char *a, const char *b);

BOOL EqualsIgnoringCase(const char *a, const char *b);

// TRUE when text begins with prefix (which ends on a whole character).
BOOL StartsWithIgnoringCase(const char *text, const char *prefix);
