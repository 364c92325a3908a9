#include <windows.h>
#include <commctrl.h>

#include "base/file_names.h"
#include "base/install_state.h"
#include "files/free_space.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "pages/check_list_buttons.h"
#include "pages/checked_total.h"
#include "pages/plugin_list.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

const ListColumn PluginColumns[] = {
    {"Plugin", FIRST_COLUMN_FILLS},
    {"Size", 50},
    {"Path", 0},
    {"Copied to", 0},
};

// The list whose check marks the rows follow: empty until it is filled, so that the rows added
// while it fills (unchecked, as their records) are not taken for changes.
HWND FilledList;

void OnInitDialog(HWND page)
{
    HWND list = GetDlgItem(page, IDC_PLUGIN_LIST);
    PrepareCheckList(list, PluginColumns, COUNTOF(PluginColumns));
    FilledList = NULL;
    ResetCheckedTotal();
    FillPluginRows();
    DrawPluginList(list);
    FilledList = list;
}

// A check-box change is written into the row's record, and the total follows it.
void OnItemChanged(HWND page, const NMLISTVIEW *change)
{
    if (change->iItem >= 0 && change->iItem < PluginRows.Count) {
        PluginRows.Rows[change->iItem].Checked = IsItemChecked(FilledList, change->iItem);
        UpdateCheckedTotal(page, change->iItem);
        return;
    }
    for (int row = 0; row < PluginRows.Count; ++row)
        PluginRows.Rows[row].Checked = IsItemChecked(FilledList, row);
    UpdateCheckedTotal(page, -1);
}

void ShowFreeSpace(HWND page)
{
    char text[32];
    FormatKiB(text, COUNTOF(text), FreeSpaceKiB(PLUGIN_BASE));
    SetDlgItemTextA(page, IDC_FREE_SPACE, text);
}

// The page never sets a message result: the sheet's default Next and Back apply.
void OnNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        ShowFreeSpace(page);
        break;
    case LVN_ITEMCHANGED:
        if (FilledList && header->hwndFrom == FilledList)
            OnItemChanged(page, reinterpret_cast<const NMLISTVIEW *>(header));
        break;
    }
}

}  // namespace

INT_PTR CALLBACK PluginPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        // Inverted on purpose: FALSE after a check-list button, TRUE for any other command.
        // Either leaves the dialog manager nothing to do here (no control of the page has a
        // default command action); the inversion keeps the answers the page has always given.
        return !HandleCheckListButton(GetDlgItem(page, IDC_PLUGIN_LIST), LOWORD(wParam));
    case WM_NOTIFY:
        OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
        return TRUE;
    }
    return FALSE;
}
