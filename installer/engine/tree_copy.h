#pragma once

#include <windows.h>

// Copies a directory tree into an existing target directory without replacing files.
// Returns 1 when the whole tree was handled, 0 when it stopped early.
int CopyTree(const char *source, const char *target);

// Asks the user about a copy that failed with error (or a target that does not fit); the
// caption is the target path. Cancel sets AbortRequested.
void ReportCopyError(const char *targetPath, DWORD error);

// Lets the queued window messages through, without waiting for any.
void PumpMessages();
