// The checked total of the plugin page: KiB of the checked plugin rows, each directory counted once.
#pragma once

#include <windows.h>

// Brings the total up to date after row changedRow of the plugin rows changed (-1: any row may
// have changed) and writes it into IDC_CHECKED_TOTAL of the page. Among checked rows that share a
// directory (SharesWith), the first in list order counts.
void UpdateCheckedTotal(HWND page, int changedRow);

// Forgets the rows of an earlier table; the page calls it when it fills the table.
void ResetCheckedTotal();
