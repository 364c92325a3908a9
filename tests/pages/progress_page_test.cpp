// The progress page: one run, started once the page is shown; Cancel during the run only;
// the outcome and Finish; the report it hands the run (bar and percentage, status line,
// copy-error boxes, the message pump).
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/install_state.h"
#include "pages/page_messages.h"
#include "pages/progress_report.h"
#include "resources/resource.h"
#include "wizard_fixture.h"

namespace {

// From the welcome page to the summary, without settings, then Next into the run.
void StartRun(WizardDriver &wizard)
{
    GoToSettingsSource(wizard);
    wizard.Next();
    ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
    wizard.Next();
}

bool RunEnded()
{
    return StandIn.Calls == 1 && InstallState.Installing == 0;
}

// The finished state: outcome in the top label, bar and percentage hidden, only Finish and Cancel.
void ExpectFinished(WizardDriver &wizard, const char *outcome)
{
    ASSERT_TRUE(wizard.WaitUntil(RunEnded, "the run to end"));
    wizard.Settle();
    HWND page = wizard.Page();
    ASSERT_EQ(wizard.CurrentTemplate(), IDD_PROGRESS);
    EXPECT_EQ(StandIn.Page, page) << "the run works on the progress page";
    EXPECT_EQ(wizard.Text(IDC_FIRST_PLAIN_LABEL), outcome);
    EXPECT_EQ(wizard.Text(IDC_STATUS_LINE), "..") << "the status line as the run left it";
    EXPECT_FALSE(wizard.Visible(IDC_PROGRESS_BAR));
    EXPECT_FALSE(wizard.Visible(IDC_PERCENT));
    EXPECT_FALSE(wizard.ButtonUsable(BUTTON_BACK));
    EXPECT_FALSE(wizard.ButtonUsable(BUTTON_NEXT));
    EXPECT_TRUE(wizard.ButtonUsable(BUTTON_FINISH));
    EXPECT_TRUE(wizard.ButtonUsable(BUTTON_CANCEL));
}

}  // namespace

class ProgressPage : public WizardTest {};

TEST_F(ProgressPage, RunsOnceAfterThePageIsShownAndOffersFinish)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ExpectFinished(wizard, "Installation complete!");
        EXPECT_EQ(StandIn.InstallingAtStart, 1);
        EXPECT_TRUE(StandIn.PageCurrentAtStart) << "the start message comes after the page change";
        EXPECT_TRUE(StandIn.PageVisibleAtStart);

        // The dialog manager's own messages (DM_SETDEFID is WM_USER + 1) start nothing.
        LRESULT defaultId = SendMessageA(wizard.Page(), DM_GETDEFID, 0, 0);
        PostMessageA(wizard.Page(), DM_SETDEFID, LOWORD(defaultId), 0);
        wizard.Settle();
        EXPECT_EQ(StandIn.Calls, 1);

        wizard.Finish();
        EXPECT_TRUE(wizard.WaitForClose());
    });
    EXPECT_EQ(StandIn.Calls, 1);
    EXPECT_EQ(InstallState.AbortRequested, 0);
}

TEST_F(ProgressPage, RunThatAbortsItselfReportsTheAbort)
{
    StandIn.Mode = STAND_IN_ABORT;
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ExpectFinished(wizard, "Installation of plugins aborted!");
        wizard.Finish();
        EXPECT_TRUE(wizard.WaitForClose());
    });
}

TEST_F(ProgressPage, CancelDuringTheRunSetsAbortAndClosesAfterTheRun)
{
    StandIn.Mode = STAND_IN_HOLD;
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ASSERT_TRUE(wizard.WaitUntil([] { return InstallState.Installing == 1; }, "the run to start"));
        wizard.Settle();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PROGRESS);
        EXPECT_EQ(wizard.Text(IDC_FIRST_PLAIN_LABEL), "Copying files:");
        EXPECT_TRUE(wizard.Visible(IDC_PROGRESS_BAR));
        EXPECT_TRUE(wizard.Visible(IDC_PERCENT));
        EXPECT_FALSE(wizard.ButtonUsable(BUTTON_BACK));
        EXPECT_FALSE(wizard.ButtonUsable(BUTTON_NEXT));
        EXPECT_FALSE(wizard.ButtonUsable(BUTTON_FINISH));
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_CANCEL));
        wizard.Cancel();
        EXPECT_TRUE(wizard.WaitForClose());
    });
    EXPECT_EQ(InstallState.AbortRequested, 1);
    EXPECT_TRUE(StandIn.SawAbortWhileHolding) << "Cancel reached the page while the run let messages through";
    EXPECT_TRUE(StandIn.SheetOpenAtReturn) << "the wizard closes only after the run has returned";
    EXPECT_FALSE(StandIn.HoldTimedOut) << "the stand-in run waited in vain for Cancel or its release";
    EXPECT_EQ(InstallState.Installing, 0);
}

TEST_F(ProgressPage, CancelOnEarlierPagesLeavesAbortAlone)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        wizard.Cancel();
        EXPECT_TRUE(wizard.WaitForClose());
    });
    EXPECT_EQ(InstallState.AbortRequested, 0);
    EXPECT_EQ(StandIn.Calls, 0);
}

TEST_F(ProgressPage, CancelQueuedBeforeTheStartLeavesAbortAlone)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        // Both presses are queued before the page exists, so Cancel arrives ahead of the start message.
        wizard.PostPress(BUTTON_NEXT);
        wizard.PostPress(BUTTON_CANCEL);
        EXPECT_TRUE(wizard.WaitForClose());
    });
    EXPECT_EQ(InstallState.AbortRequested, 0);
    EXPECT_EQ(InstallState.Installing, 0);
}

TEST_F(ProgressPage, CancelAfterTheRunLeavesAbortAlone)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ExpectFinished(wizard, "Installation complete!");
        wizard.Cancel();
        EXPECT_TRUE(wizard.WaitForClose());
    });
    EXPECT_EQ(InstallState.AbortRequested, 0);
}

TEST_F(ProgressPage, ReportedProgressMovesTheBarAndThePercentage)
{
    StandIn.Mode = STAND_IN_HOLD;
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ASSERT_TRUE(wizard.WaitUntil([] { return InstallState.Installing == 1; }, "the run to start"));
        HWND page = wizard.Page();
        EXPECT_EQ(wizard.Text(IDC_PERCENT), "0%") << "from the template";
        const int percents[] = {100, 42, 0};
        const InstallReport &report = StandIn.Report;
        for (int percent : percents) {
            report.Progress(report.Context, percent);
            EXPECT_EQ(SendDlgItemMessageA(page, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0), percent);
            EXPECT_EQ(wizard.Text(IDC_PERCENT), std::to_string(percent) + "%");
        }
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_PROGRESS_BAR, PBM_GETRANGE, TRUE, 0), 0) << "default range 0";
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0), 100) << "default range 100";
        StandIn.Release = true;
        ExpectFinished(wizard, "Installation complete!");
    });
}

TEST_F(ProgressPage, ReportedStatusGoesToTheStatusLine)
{
    StandIn.Mode = STAND_IN_HOLD;
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ASSERT_TRUE(wizard.WaitUntil([] { return InstallState.Installing == 1; }, "the run to start"));
        const InstallReport &report = StandIn.Report;
        for (const char *status : {"Packer: 7z", "You can now run Veltrano via the U3 Launchpad.", ""}) {
            report.Status(report.Context, status);
            EXPECT_EQ(wizard.Text(IDC_STATUS_LINE), status);
        }
        StandIn.Release = true;
        ASSERT_TRUE(wizard.WaitUntil(RunEnded, "the run to end"));
    });
}

// A failed copy is put to the user in a box owned by the wizard, which it disables, whatever
// window of its thread is active at the time; Cancel answers that the installation stops.
TEST_F(ProgressPage, CopyErrorBoxIsOwnedByTheWizard)
{
    struct Case {
        const char *Name;
        DWORD Error;
        bool OtherWindowActive;
        const char *Text;
        int Button;
        bool Stop;
        const char *Outcome;
    };
    const Case cases[] = {
        {"sharing violation, OK", ERROR_SHARING_VIOLATION, false, "Error copying file!", IDOK, false,
         "Installation complete!"},
        {"too long, Cancel", ERROR_FILENAME_EXCED_RANGE, false, "Error copying file!", IDCANCEL, true,
         "Installation of plugins aborted!"},
        {"disk full, Cancel", ERROR_DISK_FULL, false, "Error copying file, Disk full!", IDCANCEL, true,
         "Installation of plugins aborted!"},
        {"disk full, OK, another window active", ERROR_DISK_FULL, true, "Error copying file, Disk full!", IDOK,
         false, "Installation complete!"},
        {"another window active, Cancel", ERROR_ACCESS_DENIED, true, "Error copying file!", IDCANCEL, true,
         "Installation of plugins aborted!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ResetInstallState();
        ResetStandIn();
        StandIn.Mode = STAND_IN_COPY_FAILS;
        StandIn.FailedTarget = "U:\\System\\Apps\\Veltrano\\Data\\Plugins\\vpx\\arc\\arc.vpx";
        StandIn.FailedError = c.Error;
        // Another top-level window of the wizard's thread, made active just before the failure.
        HWND other = NULL;
        if (c.OtherWindowActive) {
            other = CreateWindowA("STATIC", "another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100, NULL,
                                  NULL, GetModuleHandleA(NULL), NULL);
            ASSERT_TRUE(other != NULL);
            StandIn.ActiveAtFailure = other;
        }
        RunDrivenWizard([&](WizardDriver &wizard) {
            StartRun(wizard);
            DialogSeen box = wizard.WaitForMessageBox(StandIn.FailedTarget);
            ASSERT_TRUE(box.Window != NULL);
            EXPECT_EQ(box.Text, c.Text);
            EXPECT_EQ(GetWindow(box.Window, GW_OWNER), wizard.Sheet()) << "owned by the wizard's window";
            EXPECT_FALSE(IsWindowEnabled(wizard.Sheet())) << "the wizard waits for the answer";
            EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageA(box.Window, 0x0440, STM_GETICON, 0, 0)),
                      LoadIconA(NULL, IDI_HAND))
                << "the error icon";
            EXPECT_TRUE(GetDlgItem(box.Window, IDOK) != NULL);
            EXPECT_TRUE(GetDlgItem(box.Window, IDCANCEL) != NULL);
            wizard.Answer(box, c.Button);
            ExpectFinished(wizard, c.Outcome);
            EXPECT_TRUE(IsWindowEnabled(wizard.Sheet()));
            wizard.Finish();
            EXPECT_TRUE(wizard.WaitForClose());
        });
        EXPECT_EQ(c.Stop, StandIn.CopyFailedAnswer);
        if (other)
            DestroyWindow(other);
    }
}

namespace {

const UINT WM_TEST_COUNT = WM_APP + 2;
int Counted = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TEST_COUNT) {
        ++Counted;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// The pump the run calls before each copied entry.
TEST(ProgressPageReport, LetsEveryQueuedMessageThroughAndReturnsWhenEmpty)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProcedure;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ProgressReportTestCounter";
    RegisterClassA(&windowClass);
    HWND counter = CreateWindowA("ProgressReportTestCounter", "", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(counter != NULL);
    InstallReport report = ProgressPageReport(NULL);
    report.LetMessagesThrough(report.Context);
    Counted = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(counter, WM_TEST_COUNT, 0, 0);
    report.LetMessagesThrough(report.Context);
    EXPECT_EQ(3, Counted);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, NULL, 0, 0, PM_NOREMOVE)) << "message " << left.message << " was left queued";
    DestroyWindow(counter);
}
