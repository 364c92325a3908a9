#include "lists/check_list.h"

#include <commctrl.h>


BOOL IsItemChecked(HWND list, int row)
{
    LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return (state & STATE_CHECKED) != 0;
}

int CountCheckedItems(HWND list)
{
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int checked = 0;
    for (int row = 0; row < rows; ++row) {
        if (IsItemChecked(list, row))
            ++checked;
    }
    return checked;
}

void SetItemChecks(HWND list, BOOL check, BOOL selectedOnly)
{
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        if (selectedOnly && SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) != LVIS_SELECTED)
            continue;
        LVITEMA item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = check ? STATE_CHECKED : STATE_UNCHECKED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}
