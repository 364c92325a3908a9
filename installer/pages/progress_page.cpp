#include <windows.h>

#include <commctrl.h>

#include "base/install_state.h"
#include "engine/installation.h"
#include "pages/page_messages.h"
#include "pages/plugin_list.h"
#include "pages/progress_report.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

void OnInitDialog(HWND page)
{
    PostMessageA(page, WM_START_INSTALLATION, 0, 0);
}

void ShowProgressControls(HWND page, int show)
{
    ShowWindow(GetDlgItem(page, IDC_PROGRESS_BAR), show);
    ShowWindow(GetDlgItem(page, IDC_PERCENT), show);
}

// Back and Next, which may have had the focus, are disabled during the run; with no control
// focused, keys would reach the sheet as system keys, which the dialog manager does not
// translate, so Esc would not cancel.
void FocusCancel(HWND page)
{
    HWND sheet = GetParent(page);
    SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(sheet, IDCANCEL)), TRUE);
}

void OnStartInstallation(HWND page)
{
    UpdateWindow(page);
    FocusCancel(page);
    InstallState.Installing = 1;
    RunInstallation(ProgressPageReport(page));
    DrawCopiedTo();
    SetDlgItemTextA(page, IDC_FIRST_PLAIN_LABEL,
                    InstallState.AbortRequested ? "Installation of plugins aborted!" : "Installation complete!");
    PostWizardButtons(page, PSWIZB_FINISH);
    InstallState.Installing = 0;
    ShowProgressControls(page, SW_HIDE);
}

INT_PTR OnNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        PostWizardButtons(page, 0);
        ShowProgressControls(page, SW_SHOW);
        break;
    case PSN_RESET:
        // Only a running installation is stopped; its copy loops poll the flag.
        if (InstallState.Installing)
            InstallState.AbortRequested = 1;
        break;
    }
    return AnswerNotification(page, PAGE_MOVE_ON);
}

}  // namespace

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
    case WM_START_INSTALLATION:
        OnStartInstallation(page);
        return TRUE;
    }
    return FALSE;
}
