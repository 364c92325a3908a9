#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "pages/settings_file_list.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

const ListColumn SettingsFileColumns[] = {
    {"Settings file", FIRST_COLUMN_FILLS},
    {"Size", 50},
};

void OnInitDialog(HWND page)
{
    HWND list = GetDlgItem(page, IDC_SETTINGS_FILE_LIST);
    PrepareCheckList(list, SettingsFileColumns, COUNTOF(SettingsFileColumns));
    FillSettingsFileList(list);
    InstallState.SettingsFileList = list;
}

}  // namespace

// The page handles no property-sheet notification: the sheet's defaults lead on.
INT_PTR CALLBACK SettingsFilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
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
    }
    return FALSE;
}
