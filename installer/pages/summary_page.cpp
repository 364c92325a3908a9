#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "pages/summary_text.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

// Rebuilt on every visit: the choices and check marks may have changed since the last one.
void OnSetActive(HWND page)
{
    PostWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
    char summary[SUMMARY_BUFFER_SIZE];
    BuildSummaryText(summary, COUNTOF(summary));
    SetDlgItemTextA(page, IDC_SUMMARY_TEXT, summary);
}

// Without plugins the two list pages are passed by on the way back too.
LONG_PTR OnWizardBack()
{
    return InstallState.CopyPlugins ? PAGE_MOVE_ON : IDD_SETTINGS_SOURCE;
}

INT_PTR OnNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        OnSetActive(page);
        break;
    case PSN_WIZBACK:
        return AnswerNotification(page, OnWizardBack());
    }
    return AnswerNotification(page, PAGE_MOVE_ON);
}

}  // namespace

INT_PTR CALLBACK SummaryPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
    }
    return FALSE;
}
