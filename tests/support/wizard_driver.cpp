#include "support/wizard_driver.h"

#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include <gtest/gtest.h>

#include "base/install_state.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

// The sheet's own buttons.
const int SHEET_BUTTON_IDS[] = {0x3023 /* Back */, 0x3024 /* Next */, 0x3025 /* Finish */, IDCANCEL};
const WPARAM SHEET_BUTTON_PRESS[] = {PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_CANCEL};
const char *const SHEET_BUTTON_NAMES[] = {"Back", "Next", "Finish", "Cancel"};

// Control id of a message box's text.
const int MESSAGE_BOX_TEXT_ID = 0xFFFF;

// The flush window lives on the wizard's thread; each flush message it handles signals an event.
const UINT WM_FLUSH = WM_APP + 77;
const char FLUSH_CLASS[] = "WizardDriverFlush";
HANDLE FlushDone;

LRESULT CALLBACK FlushWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FLUSH) {
        SetEvent(FlushDone);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateFlushWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FlushWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = FLUSH_CLASS;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    if (!FlushDone)
        FlushDone = CreateEventA(NULL, FALSE, FALSE, NULL);
    return CreateWindowA(FLUSH_CLASS, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandleA(NULL), NULL);
}

bool IsDialogWindow(HWND window)
{
    char className[64] = "";
    GetClassNameA(window, className, COUNTOF(className));
    return lstrcmpA(className, "#32770") == 0;
}

struct ThreadWindows {
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context)
{
    if (IsWindowVisible(window) && IsDialogWindow(window))
        reinterpret_cast<ThreadWindows *>(context)->Found.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleDialogsOf(DWORD thread)
{
    ThreadWindows windows;
    EnumThreadWindows(thread, CollectDialog, reinterpret_cast<LPARAM>(&windows));
    return windows.Found;
}

}  // namespace

WizardDriver::WizardDriver(DWORD wizardThread, HWND flushWindow) : thread_(wizardThread), flushWindow_(flushWindow)
{
}

bool WizardDriver::Fail(const std::string &message)
{
    ADD_FAILURE() << "wizard driver: " << message;
    failed_ = true;
    return false;
}

bool WizardDriver::WaitUntil(const std::function<bool()> &condition, const char *what, DWORD timeoutMs)
{
    if (failed_)
        return false;
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return Fail(std::string("timed out after ") + std::to_string(timeoutMs) + " ms waiting for " + what);
        Sleep(5);
    }
    return true;
}

bool WizardDriver::WaitForSheet()
{
    return WaitUntil(
        [this] {
            std::vector<HWND> dialogs = VisibleDialogsOf(thread_);
            sheet_ = dialogs.empty() ? NULL : dialogs.front();
            return sheet_ != NULL;
        },
        "the wizard to appear");
}

// Posted messages of one thread are handled in order: once the flush window has seen a message
// posted after ours, ours has been handled. Two rounds also cover what the first handling posted
// (a page's button state after a page change). Once the wizard has closed nothing is left to
// settle: its thread no longer reads the queue.
void WizardDriver::Settle()
{
    for (int round = 0; round < 2 && !failed_; ++round) {
        ResetEvent(FlushDone);
        PostMessageA(flushWindow_, WM_FLUSH, 0, 0);
        DWORD start = GetTickCount();
        while (WaitForSingleObject(FlushDone, 10) != WAIT_OBJECT_0) {
            if (!IsWindow(sheet_))
                return;
            if (GetTickCount() - start > STEP_HANG_GUARD_MS) {
                Fail("timed out waiting for the wizard's thread to handle its queue");
                return;
            }
        }
    }
}

bool WizardDriver::ButtonUsable(WizardButton button)
{
    HWND control = GetDlgItem(sheet_, SHEET_BUTTON_IDS[button]);
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

void WizardDriver::PostPress(WizardButton button)
{
    if (failed_)
        return;
    if (!IsWindow(sheet_)) {
        Fail(std::string("cannot press ") + SHEET_BUTTON_NAMES[button] + ": the wizard has closed");
        return;
    }
    if (!ButtonUsable(button)) {
        Fail(std::string("the ") + SHEET_BUTTON_NAMES[button] + " button is not usable on page " +
             std::to_string(CurrentTemplate()));
        return;
    }
    PostMessageA(sheet_, PSM_PRESSBUTTON, SHEET_BUTTON_PRESS[button], 0);
}

void WizardDriver::Press(WizardButton button)
{
    PostPress(button);
    Settle();
}

HWND WizardDriver::Page()
{
    if (failed_ || !IsWindow(sheet_))
        return NULL;
    DWORD_PTR page = 0;
    SendMessageTimeoutA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &page);
    return reinterpret_cast<HWND>(page);
}

int WizardDriver::CurrentTemplate()
{
    HWND page = Page();
    if (!page)
        return 0;
    DWORD_PTR index = 0, id = 0;
    SendMessageTimeoutA(sheet_, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0, SMTO_NORMAL, STEP_HANG_GUARD_MS,
                        &index);
    SendMessageTimeoutA(sheet_, PSM_INDEXTOID, index, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &id);
    return static_cast<int>(id);
}

HWND WizardDriver::PageOf(int templateId)
{
    if (failed_ || !IsWindow(sheet_))
        return NULL;
    for (int index = 0; index < 32; ++index) {
        DWORD_PTR id = 0, page = 0;
        SendMessageTimeoutA(sheet_, PSM_INDEXTOID, index, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &id);
        if (id == 0)
            break;
        if (static_cast<int>(id) == templateId) {
            SendMessageTimeoutA(sheet_, PSM_INDEXTOHWND, index, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &page);
            return reinterpret_cast<HWND>(page);
        }
    }
    return NULL;
}

HWND WizardDriver::PluginList()
{
    HWND page = PageOf(IDD_PLUGINS);
    return page ? GetDlgItem(page, IDC_PLUGIN_LIST) : NULL;
}

HWND WizardDriver::SettingsFileList()
{
    HWND page = PageOf(IDD_SETTINGS_FILES);
    return page ? GetDlgItem(page, IDC_SETTINGS_FILE_LIST) : NULL;
}

HWND WizardDriver::Control(int id)
{
    HWND page = Page();
    HWND control = page ? GetDlgItem(page, id) : NULL;
    if (!control && !failed_)
        Fail("no control " + std::to_string(id) + " on page " + std::to_string(CurrentTemplate()));
    return control;
}

std::string WizardDriver::TextOf(HWND window)
{
    char text[4096] = "";
    if (window)
        SendMessageTimeoutA(window, WM_GETTEXT, COUNTOF(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                            STEP_HANG_GUARD_MS, NULL);
    return text;
}

std::string WizardDriver::Text(int id)
{
    return TextOf(Control(id));
}

bool WizardDriver::Enabled(int id)
{
    HWND control = Control(id);
    return control && IsWindowEnabled(control);
}

bool WizardDriver::Visible(int id)
{
    HWND control = Control(id);
    return control && IsWindowVisible(control);
}

bool WizardDriver::Checked(int id)
{
    HWND control = Control(id);
    DWORD_PTR state = 0;
    if (control)
        SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &state);
    return state == BST_CHECKED;
}

void WizardDriver::Click(int id)
{
    HWND control = Control(id);
    if (!control)
        return;
    PostMessageA(control, BM_CLICK, 0, 0);
    Settle();
}

void WizardDriver::SetText(int id, const std::string &text)
{
    HWND control = Control(id);
    if (control)
        SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                            STEP_HANG_GUARD_MS, NULL);
}

void WizardDriver::SelectComboRow(int id, int row)
{
    HWND control = Control(id);
    if (!control)
        return;
    SendMessageTimeoutA(control, CB_SETCURSEL, row, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, NULL);
    SendMessageTimeoutA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(control), SMTO_NORMAL, STEP_HANG_GUARD_MS, NULL);
}

int WizardDriver::ComboSelection(int id)
{
    HWND control = Control(id);
    DWORD_PTR row = static_cast<DWORD_PTR>(CB_ERR);
    if (control)
        SendMessageTimeoutA(control, CB_GETCURSEL, 0, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &row);
    return static_cast<int>(row);
}

void WizardDriver::SetRowChecked(HWND list, int row, bool checked)
{
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageTimeoutA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item), SMTO_NORMAL, STEP_HANG_GUARD_MS,
                        NULL);
}

std::vector<HWND> WizardDriver::OpenDialogs()
{
    std::vector<HWND> dialogs;
    for (HWND window : VisibleDialogsOf(thread_)) {
        if (window != sheet_)
            dialogs.push_back(window);
    }
    return dialogs;
}

DialogSeen WizardDriver::WaitForDialog(const std::string &title)
{
    DialogSeen seen;
    WaitUntil(
        [&] {
            for (HWND window : OpenDialogs()) {
                if (TextOf(window) == title) {
                    seen.Window = window;
                    return true;
                }
            }
            return false;
        },
        ("a dialog titled \"" + title + "\"").c_str());
    if (seen.Window)
        seen.Caption = title;
    return seen;
}

DialogSeen WizardDriver::WaitForMessageBox(const std::string &caption)
{
    DialogSeen seen = WaitForDialog(caption);
    if (seen.Window)
        seen.Text = TextOf(GetDlgItem(seen.Window, MESSAGE_BOX_TEXT_ID));
    return seen;
}

void WizardDriver::Answer(const DialogSeen &dialog, int buttonId)
{
    if (failed_ || !dialog.Window)
        return;
    PostMessageA(dialog.Window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.Window, buttonId)));
    HWND window = dialog.Window;
    WaitUntil([window] { return !IsWindow(window) || !IsWindowVisible(window); },
              ("the dialog \"" + dialog.Caption + "\" to close").c_str());
    Settle();
}

bool WizardDriver::WaitForClose()
{
    HWND sheet = sheet_;
    return WaitUntil([sheet] { return !IsWindow(sheet); }, "the wizard to close");
}

void WizardDriver::CloseEverything()
{
    if (!sheet_ || !IsWindow(sheet_))
        return;
    failed_ = false;  // the clean-up runs after a failure too
    for (int round = 0; round < 20; ++round) {
        std::vector<HWND> dialogs = OpenDialogs();
        if (dialogs.empty())
            break;
        for (HWND dialog : dialogs) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
        Sleep(50);
    }
    PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    HWND sheet = sheet_;
    if (WaitUntil([sheet] { return !IsWindow(sheet); }, "the wizard to close on Cancel after the script"))
        return;
    // Last resorts: end the wizard's loop, then the whole process rather than hang the run.
    failed_ = false;
    PostThreadMessageA(thread_, WM_QUIT, 0, 0);
    if (WaitUntil([sheet] { return !IsWindow(sheet); }, "the wizard to close on WM_QUIT"))
        return;
    fprintf(stderr, "wizard driver: the wizard does not close; ending the test process\n");
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

void ResetInstallState()
{
    ZeroMemory(&InstallState, sizeof(InstallState));
    InstallState.Instance = GetModuleHandleA(NULL);
}

void RunDrivenWizard(const std::function<void(WizardDriver &)> &script)
{
    CoInitialize(NULL);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    HWND flushWindow = CreateFlushWindow();
    ASSERT_TRUE(flushWindow != NULL) << "the driver's flush window";
    PrepareWizard();

    std::atomic<bool> scriptDone(false);
    WizardDriver driver(GetCurrentThreadId(), flushWindow);
    std::thread driving([&] {
        if (driver.WaitForSheet()) {
            driver.Settle();
            if (!driver.Failed())
                script(driver);
        }
        driver.CloseEverything();
        scriptDone = true;
    });
    RunWizard();
    // The wizard may close before the script has ended (Finish, Cancel): its waits are bounded.
    driving.join();
    EXPECT_TRUE(scriptDone.load());
    DestroyWindow(flushWindow);
    CoUninitialize();
}
