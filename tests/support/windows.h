// Finding and reading other processes' windows, every wait bounded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/hang_guard.h"

// A visible top-level window of the process whose caption is exactly `caption`;
// NULL when none appeared within timeoutMs.
HWND WaitForProcessWindow(DWORD processId, const char *caption, DWORD timeoutMs);

// Visible top-level windows of a process right now.
std::vector<HWND> VisibleWindowsOf(DWORD processId);

std::string WindowText(HWND window);

// Texts of a window's direct children, in z-order.
std::vector<std::string> ChildTexts(HWND window);
