#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "base/language_table.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

void OnInitDialog(HWND page)
{
    HWND list = GetDlgItem(page, IDC_LANGUAGE_LIST);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int row = 0; row < LANGUAGE_COUNT; ++row)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LanguageTable[row].DisplayName));
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}

// Written on every Next; Back leaves the earlier choice in place.
void OnWizardNext(HWND page)
{
    InstallState.LanguageIndex =
        static_cast<int>(SendDlgItemMessageA(page, IDC_LANGUAGE_LIST, CB_GETCURSEL, 0, 0));
}

INT_PTR OnNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        PostWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
        break;
    case PSN_WIZNEXT:
        OnWizardNext(page);
        break;
    }
    return AnswerNotification(page, PAGE_MOVE_ON);
}

}  // namespace

INT_PTR CALLBACK LanguagePageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
    }
    return FALSE;
}
