// The progress page's report of an installation run: its progress bar and percentage, its status
// line, the copy-error boxes and the message pump.
#pragma once

#include <windows.h>

#include "engine/installation.h"

// The report for a run shown on page; page is its context. Copy-error boxes are owned by the
// wizard's window (the page's parent), which they disable while they are up.
InstallReport ProgressPageReport(HWND page);
