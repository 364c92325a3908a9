// The visit that EnumWindows makes to each top-level window, and the flag it leaves behind.
#pragma once

#include <windows.h>

// Pass modes, handed to each visit as the enumeration's value.
const LPARAM PASS_PROBE = 0;
const LPARAM PASS_CLOSE = 1;
const LPARAM PASS_FINAL = 2;

// Set to 1 by every visit that confirms a Veltrano main window; the entry clears it.
extern int InstanceFound;

// Pings and identifies a window of the Veltrano class, then treats it as the pass mode says.
// Always answers TRUE, so the enumeration runs over every top-level window.
BOOL CALLBACK CloserEnumProc(HWND window, LPARAM passMode);
