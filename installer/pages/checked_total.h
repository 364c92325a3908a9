// The checked total of the plugin page: KiB of the checked plugins, each directory counted once.
#pragma once

#include <windows.h>

// Brings the total up to date after row changedRow changed (-1: any row may have changed) and
// writes it into IDC_CHECKED_TOTAL of the page. Among checked rows that share a directory (equal
// without regard to case), the first in list order counts.
void UpdateCheckedTotal(HWND page, HWND list, int changedRow);

// Forgets the rows of an earlier list; the page calls it when it creates its list.
void ResetCheckedTotal();
