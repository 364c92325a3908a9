#include <windows.h>
#include <commctrl.h>

#include "base/file_names.h"
#include "base/install_state.h"
#include "files/free_space.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
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

void OnInitDialog(HWND page)
{
    HWND list = GetDlgItem(page, IDC_PLUGIN_LIST);
    PrepareCheckList(list, PluginColumns, COUNTOF(PluginColumns));
    ResetCheckedTotal();
    FillPluginList(list);
    InstallState.PluginList = list;
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
        // Rows added while the list is filled are unchecked; the total starts once it is full.
        if (header->hwndFrom == InstallState.PluginList)
            UpdateCheckedTotal(page, header->hwndFrom, reinterpret_cast<const NMLISTVIEW *>(header)->iItem);
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
