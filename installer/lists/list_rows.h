// Rows and columns of the report-view lists of the plugin and settings-files pages.
#pragma once

#include <windows.h>

struct ListColumn {
    const char *Title;
    int Width;  // pixels; FIRST_COLUMN_FILLS: the list's outer width less a scroll bar and 55
};

enum { FIRST_COLUMN_FILLS = -1 };

// Gives the list its check boxes and inserts the columns at positions 0, 1, ...
void PrepareCheckList(HWND list, const ListColumn *columns, int count);

// Appends an unchecked row after the last one; returns its index (-1 on failure).
int AppendListRow(HWND list, const char *text);

void SetListText(HWND list, int row, int subitem, const char *text);

// Reads a cell into buffer (capacity bytes; a longer text is cut); FALSE when the row does not
// exist.
BOOL GetListText(char *buffer, int capacity, HWND list, int row, int subitem);

int ListRowCount(HWND list);

// "<n>k": the decimal count followed by "k".
void FormatKiB(char *text, int capacity, unsigned long long kib);

// KiB rounded up.
unsigned long long BytesToKiBRoundedUp(unsigned long long bytes);
