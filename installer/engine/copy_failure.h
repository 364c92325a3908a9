// How every step of the run puts a copy that failed to the user.
#pragma once

#include <windows.h>

#include "engine/installation.h"

// Reports the failed copy to targetPath; an answer to stop sets AbortRequested, so that the copy
// loops end the installation.
void ReportCopyFailure(const char *targetPath, DWORD error, const InstallReport &report);
