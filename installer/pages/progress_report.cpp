#include "pages/progress_report.h"

#include <commctrl.h>

#include "base/install_state.h"
#include "resources/resource.h"

namespace {

HWND Page(void *context)
{
    return static_cast<HWND>(context);
}

void SetProgress(void *context, int percent)
{
    SendDlgItemMessageA(Page(context), IDC_PROGRESS_BAR, PBM_SETPOS, percent, 0);
    char text[16];
    wsprintfA(text, "%d%%", percent);
    SetDlgItemTextA(Page(context), IDC_PERCENT, text);
}

void ShowStatus(void *context, const char *text)
{
    SetDlgItemTextA(Page(context), IDC_STATUS_LINE, text);
}

// The caption is the target path; Cancel answers that the installation stops.
BOOL AskAboutCopyError(void *context, const char *targetPath, DWORD error)
{
    const char *text = error == ERROR_DISK_FULL ? "Error copying file, Disk full!" : "Error copying file!";
    HWND wizard = GetParent(Page(context));
    return MessageBoxA(wizard, text, targetPath, MB_OKCANCEL | MB_ICONERROR) == IDCANCEL;
}

// Keys go through the dialog they were typed into (the wizard), so that Tab, Enter and Esc work
// during a copy as in the wizard's own message loop.
BOOL IsKeyboardMessage(const MSG &message)
{
    return message.hwnd && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
}

void PumpMessages(void *)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // A request to end the program stops the installation as Cancel does, and goes back
            // to the loop that runs the wizard, which gets it once the run returns. Peeking on
            // would take it back at once (and keep input and painting waiting), so the pump stops.
            InstallState.AbortRequested = 1;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsKeyboardMessage(message) && IsDialogMessageA(GetAncestor(message.hwnd, GA_ROOT), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

InstallReport ProgressPageReport(HWND page)
{
    InstallReport report = {page, SetProgress, ShowStatus, AskAboutCopyError, PumpMessages};
    return report;
}
