// Stand-in for the installation engine in pages_test only (see installation_stand_in.h).
// Defining RunInstallation here keeps the engine's placeholder object out of this executable.
#include "installation_stand_in.h"

#include <commctrl.h>

#include "base/install_state.h"
#include "engine/installation.h"
#include "support/hang_guard.h"

StandInRun StandIn;

void ResetStandIn()
{
    StandIn.Mode = STAND_IN_RETURN;
    StandIn.Calls = 0;
    StandIn.Release = false;
    StandIn.FailedTarget.clear();
    StandIn.FailedError = 0;
    StandIn.ActiveAtFailure = NULL;
    StandIn.Report = InstallReport();
    StandIn.Page = NULL;
    StandIn.InstallingAtStart = 0;
    StandIn.PageCurrentAtStart = false;
    StandIn.PageVisibleAtStart = false;
    StandIn.SawAbortWhileHolding = false;
    StandIn.SheetOpenAtReturn = false;
    StandIn.HoldTimedOut = false;
    StandIn.CopyFailedAnswer = false;
}

namespace {

// Lets queued messages through as the engine's directory copy does, through the page's own
// report, until told to stop.
void Hold(const InstallReport &report)
{
    DWORD start = GetTickCount();
    while (!InstallState.AbortRequested && !StandIn.Release) {
        report.LetMessagesThrough(report.Context);
        if (GetTickCount() - start > STEP_HANG_GUARD_MS) {
            StandIn.HoldTimedOut = true;
            return;
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    StandIn.SawAbortWhileHolding = InstallState.AbortRequested != 0;
}

}  // namespace

void RunInstallation(const InstallReport &report)
{
    ++StandIn.Calls;
    StandIn.Report = report;
    HWND page = static_cast<HWND>(report.Context);
    StandIn.Page = page;
    StandIn.InstallingAtStart = InstallState.Installing;
    HWND sheet = GetParent(page);
    StandIn.PageCurrentAtStart = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) == page;
    StandIn.PageVisibleAtStart = IsWindowVisible(page) != FALSE;
    InstallState.AbortRequested = 0;  // the engine clears it when it starts
    switch (StandIn.Mode) {
    case STAND_IN_RETURN:
        break;
    case STAND_IN_ABORT:
        InstallState.AbortRequested = 1;
        break;
    case STAND_IN_HOLD:
        Hold(report);
        break;
    case STAND_IN_COPY_FAILS:
        if (StandIn.ActiveAtFailure)
            SetActiveWindow(StandIn.ActiveAtFailure);
        StandIn.CopyFailedAnswer = report.CopyFailed(report.Context, StandIn.FailedTarget.c_str(), StandIn.FailedError);
        if (StandIn.CopyFailedAnswer)
            InstallState.AbortRequested = 1;  // as the engine does on a stop answer
        break;
    }
    StandIn.SheetOpenAtReturn = IsWindow(sheet) != FALSE;
}
