#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

// The font lives until the entry deletes it after the wizard has closed.
void OnInitDialog(HWND page)
{
    InstallState.TitleFont = CreateFontA(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                         VARIABLE_PITCH | FF_SWISS, "Arial");
    SendDlgItemMessageA(page, IDC_WELCOME_TITLE, WM_SETFONT,
                        reinterpret_cast<WPARAM>(InstallState.TitleFont), TRUE);
}

INT_PTR OnNotify(HWND page, const NMHDR *header)
{
    if (header->code == PSN_SETACTIVE)
        PostWizardButtons(page, PSWIZB_NEXT);
    return AnswerNotification(page, 0);
}

}  // namespace

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
    }
    return FALSE;
}
