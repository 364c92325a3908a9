// The progress page: one run, started once the page is shown; Cancel during the run only;
// the outcome and Finish; SetProgress.
#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "pages/page_messages.h"
#include "pages/run_report.h"
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

TEST_F(ProgressPage, SetProgressMovesTheBarAndThePercentage)
{
    StandIn.Mode = STAND_IN_HOLD;
    RunDrivenWizard([](WizardDriver &wizard) {
        StartRun(wizard);
        ASSERT_TRUE(wizard.WaitUntil([] { return InstallState.Installing == 1; }, "the run to start"));
        HWND page = wizard.Page();
        EXPECT_EQ(wizard.Text(IDC_PERCENT), "0%") << "from the template";
        const int percents[] = {100, 42, 0};
        for (int percent : percents) {
            SetProgress(page, percent);
            EXPECT_EQ(SendDlgItemMessageA(page, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0), percent);
            EXPECT_EQ(wizard.Text(IDC_PERCENT), std::to_string(percent) + "%");
        }
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_PROGRESS_BAR, PBM_GETRANGE, TRUE, 0), 0) << "default range 0";
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0), 100) << "default range 100";
        StandIn.Release = true;
        ExpectFinished(wizard, "Installation complete!");
    });
}
