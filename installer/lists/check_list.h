// Helpers for the report-view check-box lists of the plugin and settings-files pages.
#pragma once

#include <windows.h>

// State image 2 of a check-box list view means checked, 1 unchecked.
enum { STATE_UNCHECKED = 0x1000, STATE_CHECKED = 0x2000 };

// Number of checked rows; 0 for a list that has no window yet.
int CountCheckedItems(HWND list);

// Checks or unchecks all rows, or only the selected ones.
void SetItemChecks(HWND list, BOOL check, BOOL selectedOnly);

// Whether one row's check box is checked.
BOOL IsItemChecked(HWND list, int row);
