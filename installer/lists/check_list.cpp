#include "lists/check_list.h"

#include <commctrl.h>

#include "resources/resource.h"

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

namespace {

// What each check-list button does to the page's list.
struct CheckListButton {
    int Id;
    BOOL Check;
    BOOL SelectedOnly;
};

const CheckListButton CHECK_LIST_BUTTONS[] = {
    {IDC_CHECK_ALL, TRUE, FALSE},
    {IDC_UNCHECK_ALL, FALSE, FALSE},
    {IDC_CHECK_ALL_SELECTED, TRUE, TRUE},
    {IDC_UNCHECK_ALL_SELECTED, FALSE, TRUE},
};

}  // namespace

BOOL HandleCheckListButton(HWND list, int commandId)
{
    for (const CheckListButton &button : CHECK_LIST_BUTTONS) {
        if (button.Id == commandId) {
            SetItemChecks(list, button.Check, button.SelectedOnly);
            return TRUE;
        }
    }
    return FALSE;
}
