// File copies that leave either the whole file or nothing they wrote themselves.
#pragma once

#include <windows.h>

// CopyFileA, and on failure removes what the copy itself left at target: a file it created, or
// one it had begun to overwrite (the platform's copy truncates the target first and leaves a
// half-written file when a write fails, as on a full drive). A target the copy never touched,
// such as one that stands in the way of a copy that must not replace it, is left alone.
// *error receives the failure's error code.
BOOL CopyWholeFile(const char *source, const char *target, BOOL failIfExists, DWORD *error);
