#pragma once

#include <windows.h>

// Progress bar 1005 and percentage label 1007 of the progress page.
void SetProgress(HWND page, int percent);
