#include "pages/check_marks.h"

#include "lists/check_list.h"

void SetUpCheckList(HWND page, const CheckListPage &list, HWND *filledList)
{
    *filledList = NULL;
    // Reading the settings and measuring the plugin directories may take a while.
    HCURSOR previous = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    HWND window = GetDlgItem(page, list.ListId);
    PrepareCheckList(window, list.Columns, list.ColumnCount);
    list.FillRows();
    list.DrawRows(window);
    *filledList = window;
    SetCursor(previous);
}

int FollowCheckMarks(HWND list, const NMLISTVIEW *change, int count, void (*note)(int row, BOOL checked))
{
    if (change->iItem >= 0 && change->iItem < count) {
        note(change->iItem, IsItemChecked(list, change->iItem));
        return change->iItem;
    }
    for (int row = 0; row < count; ++row)
        note(row, IsItemChecked(list, row));
    return -1;
}
