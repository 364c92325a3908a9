#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "lists/list_rows.h"
#include "pages/check_list_buttons.h"
#include "pages/check_marks.h"
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

const CheckListPage SettingsFileListPage = {IDC_SETTINGS_FILE_LIST, SettingsFileColumns,
                                            COUNTOF(SettingsFileColumns), FillSettingsFileRows,
                                            DrawSettingsFileList};

void OnInitDialog(HWND page)
{
    SetUpCheckList(page, SettingsFileListPage, &FilledList);
}

// A check-box change is written into the row's record.
void NoteCheckMark(int row, BOOL checked)
{
    SettingsFileRows.Rows[row].Checked = checked;
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
        return AnswerCheckListCommand(GetDlgItem(page, IDC_SETTINGS_FILE_LIST), LOWORD(wParam));
    case WM_NOTIFY: {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->code == LVN_ITEMCHANGED && FilledList && header->hwndFrom == FilledList)
            FollowCheckMarks(FilledList, reinterpret_cast<const NMLISTVIEW *>(header), SettingsFileRows.Count,
                             NoteCheckMark);
        return FALSE;
    }
    }
    return FALSE;
}
