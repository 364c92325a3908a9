// Works the real stickinstall.exe as a separate process, the way a user would: the wizard is
// found among the process's windows, buttons are pressed with PSM_PRESSBUTTON, check boxes
// clicked, edit texts set, and list rows read and checked through memory allocated in the
// installer's process. Shared by the end-to-end tests and the demo; it knows nothing of GoogleTest.
//
// Every wait is bounded. The first failure is recorded (Failure()) and turns every later action
// into a no-op that answers false, so a script can run straight through and be judged at the end.
// The installer is killed when the driver goes away while it still runs.
//
// Finding the sheet: Wine retitles the sheet with each page's title, so the caption names the
// sheet only while the first page is shown. FindSheet waits for a visible top-level dialog
// (class "#32770") of the installer's process captioned "Veltrano USB installer" that answers
// PSM_GETCURRENTPAGEHWND, and keeps that window handle for the rest of the run.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/process.h"

enum SheetButton { SHEET_BACK, SHEET_NEXT, SHEET_FINISH, SHEET_CANCEL };

class InstallerDriver {
public:
    InstallerDriver() = default;
    ~InstallerDriver();
    InstallerDriver(const InstallerDriver &) = delete;
    InstallerDriver &operator=(const InstallerDriver &) = delete;

    // Starts the program with the current environment changed as given.
    bool Start(const std::string &program, const std::vector<EnvironmentChange> &environment);
    DWORD ProcessId() const { return process_.dwProcessId; }
    DWORD ThreadId() const { return process_.dwThreadId; }

    bool FindSheet(DWORD timeoutMs = PROCESS_HANG_GUARD_MS);
    HWND Sheet() const { return sheet_; }

    // The current page and its template id (0 when there is none).
    HWND Page();
    int CurrentTemplate();
    bool WaitForTemplate(int templateId, DWORD timeoutMs = STEP_HANG_GUARD_MS);

    bool ButtonUsable(SheetButton button);  // shown and enabled
    // Waits until the button is usable, then presses it.
    bool Press(SheetButton button, DWORD timeoutMs = STEP_HANG_GUARD_MS);

    // Controls of the current page.
    HWND Control(int id);
    std::string Text(int id);
    bool Checked(int id);
    bool Click(int id);  // BM_CLICK, then waits until the check mark has changed
    bool SetText(int id, const std::string &text);
    int ComboSelection(int id);

    // Rows of a list view of the current page.
    int RowCount(int listId);
    std::string RowText(int listId, int row, int subitem = 0);
    std::vector<std::string> RowTexts(int listId, int subitem = 0);
    bool RowChecked(int listId, int row);
    bool SetRowChecked(int listId, int row, bool checked);
    // Checks the row whose item text is `text`; fails when there is none.
    bool CheckRowNamed(int listId, const std::string &text);

    // A visible top-level window of the installer with this caption, or NULL (and a failure).
    HWND WaitForWindow(const std::string &caption, DWORD timeoutMs = PROCESS_HANG_GUARD_MS);

    bool WaitUntil(const std::function<bool()> &condition, const std::string &what,
                   DWORD timeoutMs = STEP_HANG_GUARD_MS);
    // Waits for the installer to end; false (and a failure) when it does not, the process is then killed.
    bool WaitForExit(DWORD *exitCode, DWORD timeoutMs = PROCESS_HANG_GUARD_MS);
    bool Running() const;
    void Kill();

    bool Ok() const { return failure_.empty(); }
    const std::string &Failure() const { return failure_; }
    bool Fail(const std::string &message);

private:
    // Memory in the installer's process for list-view messages that carry pointers.
    struct RemoteBlock;
    LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
    HWND sheet_ = NULL;
    std::string failure_;
};

// The sheet's own button ids and names (Back, Next, Finish, Cancel).
int SheetButtonId(SheetButton button);
const char *SheetButtonName(SheetButton button);
