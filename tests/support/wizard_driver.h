// Drives the real wizard of this process: RunDrivenWizard shows it on the calling (main)
// thread and runs a script on a second thread that works it through messages, as a user would.
// Every wait is bounded; a failed wait is reported as a test failure and turns the driver's
// later actions into no-ops, and the wizard is always closed when the script returns.
//
//     ResetInstallState();
//     RunDrivenWizard([](WizardDriver &wizard) {
//         wizard.Next();                                   // to the language page
//         ASSERT_EQ(wizard.CurrentTemplate(), IDD_LANGUAGE);
//         wizard.SelectComboRow(IDC_LANGUAGE_LIST, 2);
//         wizard.Next();
//         EXPECT_EQ(InstallState.LanguageIndex, 2);
//     });
//
// Button states are posted by the pages: every action here waits (Settle) until the wizard's
// thread has handled what was queued, so ButtonUsable reads the state the page asked for.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/hang_guard.h"

enum WizardButton { BUTTON_BACK, BUTTON_NEXT, BUTTON_FINISH, BUTTON_CANCEL };

// A message box or common dialog of the wizard's thread.
struct DialogSeen {
    HWND Window = NULL;
    std::string Caption;
    std::string Text;  // a message box's message; empty for other dialogs
};

class WizardDriver {
public:
    explicit WizardDriver(DWORD wizardThread, HWND flushWindow);

    // Waits for the sheet to be shown; FALSE (and a failure) when it never appears.
    bool WaitForSheet();
    // Waits until the wizard's queue holds nothing that was posted before this call.
    void Settle();
    bool Failed() const { return failed_; }
    HWND Sheet() const { return sheet_; }

    // Wizard buttons, pressed as a user would: the button must be shown and enabled.
    void Next() { Press(BUTTON_NEXT); }
    void Back() { Press(BUTTON_BACK); }
    void Finish() { Press(BUTTON_FINISH); }
    void Cancel() { Press(BUTTON_CANCEL); }
    void Press(WizardButton button);
    // Posts the press without waiting for it to be handled (to queue several at once).
    void PostPress(WizardButton button);
    bool ButtonUsable(WizardButton button);  // shown and enabled

    // The current page and its template id (0 when the wizard is gone).
    HWND Page();
    int CurrentTemplate();
    // The page of a template, or NULL while it has not been created.
    HWND PageOf(int templateId);
    // The plugin and settings-files lists, or NULL while their page has not been created.
    HWND PluginList();
    HWND SettingsFileList();

    // Controls of the current page.
    HWND Control(int id);
    std::string Text(int id);
    std::string TextOf(HWND window);  // any window of the wizard's thread, dialogs included
    bool Enabled(int id);
    bool Visible(int id);
    bool Checked(int id);
    void Click(int id);  // BM_CLICK, posted: whatever the click opens can be answered afterwards
    void SetText(int id, const std::string &text);
    void SelectComboRow(int id, int row);  // CB_SETCURSEL and the CBN_SELCHANGE the list would send
    int ComboSelection(int id);
    void SetRowChecked(HWND list, int row, bool checked);  // LVM_SETITEMSTATE

    // A message box of the wizard with this caption; its Window is NULL (and a failure
    // recorded) when none appeared in time.
    DialogSeen WaitForMessageBox(const std::string &caption);
    // A common dialog of the wizard's thread with this title.
    DialogSeen WaitForDialog(const std::string &title);
    // Presses a button of a message box or dialog and waits until it has gone.
    void Answer(const DialogSeen &dialog, int buttonId);
    // The message boxes and dialogs of the wizard's thread other than the sheet.
    std::vector<HWND> OpenDialogs();

    // Waits until the sheet has gone; FALSE (and a failure) on time-out.
    bool WaitForClose();
    // Waits until the condition holds; FALSE (and a failure naming what) on time-out.
    bool WaitUntil(const std::function<bool()> &condition, const char *what, DWORD timeoutMs = STEP_HANG_GUARD_MS);

    // Closes whatever the script left open: dialogs first, then the wizard (Cancel).
    void CloseEverything();

private:
    bool Fail(const std::string &message);

    DWORD thread_;
    HWND flushWindow_;
    HWND sheet_ = NULL;
    bool failed_ = false;
};

// Resets InstallState (Instance = this module), prepares the wizard, runs it on this thread
// and the script on a second one. Returns when the wizard has closed and the script ended.
// `before` runs on this thread just before the wizard opens (windows the pages must reach
// from their own thread are created there).
void RunDrivenWizard(const std::function<void(WizardDriver &)> &script);

// The InstallState reset every test starts from.
void ResetInstallState();

