#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "pages/check_list_buttons.h"
#include "pages/settings_file_list.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

const ListColumn SettingsFileColumns[] = {
    {"Settings file", FIRST_COLUMN_FILLS},
    {"Size", 50},
};

// The list whose check marks the rows follow: empty until it is filled.
HWND FilledList;

void OnInitDialog(HWND page)
{
    HWND list = GetDlgItem(page, IDC_SETTINGS_FILE_LIST);
    PrepareCheckList(list, SettingsFileColumns, COUNTOF(SettingsFileColumns));
    FilledList = NULL;
    FillSettingsFileRows();
    DrawSettingsFileList(list);
    FilledList = list;
}

// A check-box change is written into the row's record.
void OnItemChanged(const NMLISTVIEW *change)
{
    if (change->iItem >= 0 && change->iItem < SettingsFileRows.Count) {
        SettingsFileRows.Rows[change->iItem].Checked = IsItemChecked(FilledList, change->iItem);
        return;
    }
    for (int row = 0; row < SettingsFileRows.Count; ++row)
        SettingsFileRows.Rows[row].Checked = IsItemChecked(FilledList, row);
}

}  // namespace

// The page handles no property-sheet notification: the sheet's defaults lead on.
INT_PTR CALLBACK SettingsFilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        // Inverted on purpose: FALSE after a check-list button, TRUE for any other command.
        // Either leaves the dialog manager nothing to do here (no control of the page has a
        // default command action); the inversion keeps the answers the page has always given.
        return !HandleCheckListButton(GetDlgItem(page, IDC_SETTINGS_FILE_LIST), LOWORD(wParam));
    case WM_NOTIFY: {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->code == LVN_ITEMCHANGED && FilledList && header->hwndFrom == FilledList)
            OnItemChanged(reinterpret_cast<const NMLISTVIEW *>(header));
        return FALSE;
    }
    }
    return FALSE;
}
