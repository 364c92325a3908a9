// The check-box lists of the plugin and settings-files pages: set up from their row tables, and
// their check marks followed into the records.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "lists/list_rows.h"

struct CheckListPage {
    int ListId;
    const ListColumn *Columns;
    int ColumnCount;
    void (*FillRows)();             // fills the page's row table
    void (*DrawRows)(HWND list);    // draws the table into the list
};

// Gives the page's list its check boxes and columns, then fills the rows and draws them, with the
// wait cursor shown meanwhile. The
// list goes into *filledList once it is full: rows added while it fills (unchecked, as their
// records) are not taken for changes.
void SetUpCheckList(HWND page, const CheckListPage &list, HWND *filledList);

// For a change notification of list: note(row, checked) for the row it names, or for every one of
// the count rows when it names none (-1) or a row past them. Returns the row it named, or -1.
int FollowCheckMarks(HWND list, const NMLISTVIEW *change, int count, void (*note)(int row, BOOL checked));
