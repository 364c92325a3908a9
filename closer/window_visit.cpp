#include "window_visit.h"

#include <cstring>

#include "protocol.h"

int InstanceFound = 0;

namespace {

// GetClassNameA capacity, the terminator included.
const int CLASS_NAME_CAPACITY = 259;
// How long Escape stays down on a window whose ping failed.
const DWORD HELD_ESCAPE_MS = 500;
const int DIALOG_ATTEMPTS = 5;
const DWORD AFTER_DIALOG_ESCAPE_MS = 100;
const DWORD AFTER_DIALOG_CLOSE_MS = 100;
const DWORD AFTER_DIALOG_ATTEMPT_MS = 50;

int IsVeltranoClass(HWND window)
{
    char className[CLASS_NAME_CAPACITY] = {};
    if (GetClassNameA(window, className, CLASS_NAME_CAPACITY) == 0)
        return 0;
    // Compares the terminator too: a longer name that begins with the class name is another class.
    return memcmp(className, VELTRANO_MAIN_CLASS, sizeof(VELTRANO_MAIN_CLASS)) == 0;
}

// The window itself when it has no popup. A window that has gone meanwhile yields no popup (NULL)
// and so counts as having none: no Escape then goes to whatever window has the focus.
HWND LastActivePopupOrSelf(HWND window)
{
    HWND popup = GetLastActivePopup(window);
    return popup ? popup : window;
}

void PressEscape()
{
    keybd_event(VK_ESCAPE, 0, 0, 0);
}

void ReleaseEscape()
{
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

// Sends one request of the protocol; 1 with the reply, or 0 when the window did not answer in time.
int SendControlRequest(HWND window, LPARAM request, UINT flags, UINT timeoutMs, DWORD_PTR *reply)
{
    return SendMessageTimeoutA(window, WM_INSTANCE_CONTROL, CONTROL_SIGNATURE, request, flags, timeoutMs,
                               reply) != 0;
}

int AnswersPing(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendControlRequest(window, REQUEST_PING, PING_SEND_FLAGS, PING_TIMEOUT_MS, &ignored);
}

// Whatever holds the window's thread (a menu, a drag, a modal loop) usually gives up on Escape.
void ReleaseHeldWindow(HWND window)
{
    SetForegroundWindow(LastActivePopupOrSelf(window));
    PressEscape();
    Sleep(HELD_ESCAPE_MS);
    ReleaseEscape();
}

int IsConfirmedInstance(HWND window)
{
    DWORD_PTR reply = 0;
    if (!SendControlRequest(window, REQUEST_IDENTIFY, REQUEST_SEND_FLAGS, REQUEST_REPLY_TIMEOUT_MS, &reply))
        return 0;
    // The protocol's values are 32 bits wide.
    return static_cast<DWORD>(reply) == IDENTITY_REPLY;
}

// One attempt deals with the topmost dialog only: nested dialogs take one attempt each.
void DismissTopDialog(HWND window)
{
    HWND popup = LastActivePopupOrSelf(window);
    if (popup != window) {
        SetForegroundWindow(popup);
        PressEscape();
        ReleaseEscape();
        Sleep(AFTER_DIALOG_ESCAPE_MS);
        if (IsWindow(popup)) {
            PostMessageA(popup, WM_SYSCOMMAND, SC_CLOSE, 0);
            Sleep(AFTER_DIALOG_CLOSE_MS);
        }
    }
    Sleep(AFTER_DIALOG_ATTEMPT_MS);
}

void CloseInstance(HWND window)
{
    for (int attempt = 0; attempt < DIALOG_ATTEMPTS; attempt++)
        DismissTopDialog(window);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void SendFinalRequest(HWND window)
{
    DWORD_PTR ignored = 0;
    SendControlRequest(window, REQUEST_FINAL, REQUEST_SEND_FLAGS, REQUEST_REPLY_TIMEOUT_MS, &ignored);
}

}  // namespace

BOOL CALLBACK CloserEnumProc(HWND window, LPARAM passMode)
{
    if (!IsVeltranoClass(window))
        return TRUE;
    if (!AnswersPing(window))
        ReleaseHeldWindow(window);
    if (!IsConfirmedInstance(window))
        return TRUE;
    if (passMode == PASS_CLOSE)
        CloseInstance(window);
    else if (passMode == PASS_FINAL)
        SendFinalRequest(window);
    InstanceFound = 1;
    return TRUE;
}
