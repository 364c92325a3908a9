#include <windows.h>
#include <commctrl.h>

#include "base/file_names.h"
#include "base/install_state.h"
#include "files/free_space.h"
#include "lists/list_rows.h"
#include "pages/check_list_buttons.h"
#include "pages/check_marks.h"
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

// The list whose check marks the rows follow: empty until it is filled.
HWND FilledList;

void FillRows()
{
    ResetCheckedTotal();
    FillPluginRows();
}

const CheckListPage PluginListPage = {IDC_PLUGIN_LIST, PluginColumns, COUNTOF(PluginColumns), FillRows,
                                      DrawPluginList};

void OnInitDialog(HWND page)
{
    SetUpCheckList(page, PluginListPage, &FilledList);
}

void NoteCheckMark(int row, BOOL checked)
{
    PluginRows.Rows[row].Checked = checked;
}

// A check-box change is written into the row's record, and the total follows it.
void OnItemChanged(HWND page, const NMLISTVIEW *change)
{
    UpdateCheckedTotal(page, FollowCheckMarks(FilledList, change, PluginRows.Count, NoteCheckMark));
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
        return AnswerCheckListCommand(GetDlgItem(page, IDC_PLUGIN_LIST), LOWORD(wParam));
    case WM_NOTIFY:
        OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
        return TRUE;
    }
    return FALSE;
}
