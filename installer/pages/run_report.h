// What the installation run shows on the progress page and asks of the user while it works:
// the one way the engine reaches the pages.
#pragma once

#include <windows.h>

// The progress bar and its percentage label.
void SetProgress(HWND page, int percent);

// The status line above the progress bar.
void ShowStatus(HWND page, const char *text);

// Asks the user about a copy that failed with error (or a target that does not fit); the
// caption is the target path. Cancel sets AbortRequested.
void ReportCopyError(const char *targetPath, DWORD error);

// Lets the queued window messages through, without waiting for any.
void PumpMessages();
