#include "support/message_box_answerer.h"

#include <gtest/gtest.h>

#include "support/hang_guard.h"

namespace {

// The dialog manager gives a message box's text control this id.
const int MESSAGE_TEXT_ID = 0xFFFF;

BOOL CALLBACK MatchDialog(HWND window, LPARAM found)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK MatchIcon(HWND child, LPARAM found)
{
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND *>(found) = child;
        return FALSE;
    }
    return TRUE;
}

std::string TextOf(HWND window)
{
    char text[1024] = "";
    if (window)
        GetWindowTextA(window, text, sizeof(text));
    return text;
}

SeenBox Describe(HWND box)
{
    SeenBox seen;
    seen.Text = TextOf(GetDlgItem(box, MESSAGE_TEXT_ID));
    seen.Caption = TextOf(box);
    seen.Owner = GetWindow(box, GW_OWNER);
    seen.HasOkAndCancel = GetDlgItem(box, IDOK) != NULL && GetDlgItem(box, IDCANCEL) != NULL;
    HWND icon = NULL;
    EnumChildWindows(box, MatchIcon, reinterpret_cast<LPARAM>(&icon));
    seen.HasErrorIcon = icon != NULL &&
                        reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)) == LoadIconA(NULL, IDI_HAND);
    return seen;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int button)
    : MessageBoxAnswerer([button](const SeenBox &) { return button; })
{
}

MessageBoxAnswerer::MessageBoxAnswerer(const BoxAnswer &answer)
    : Answer(answer), WatchedThread(GetCurrentThreadId()), Thread(NULL), Ready(NULL), Stopping(0)
{
    Ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    Thread = CreateThread(NULL, 0, Watch, this, 0, NULL);
    if (WaitForSingleObject(Ready, STEP_HANG_GUARD_MS) != WAIT_OBJECT_0)
        ADD_FAILURE() << "the message box watcher did not start";
    CloseHandle(Ready);
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    if (Thread)
        Stop();
}

std::vector<SeenBox> MessageBoxAnswerer::Stop()
{
    if (Thread) {
        InterlockedExchange(&Stopping, 1);
        if (WaitForSingleObject(Thread, STEP_HANG_GUARD_MS) != WAIT_OBJECT_0)
            ADD_FAILURE() << "the message box watcher did not end";
        CloseHandle(Thread);
        Thread = NULL;
    }
    return Seen;
}

DWORD WINAPI MessageBoxAnswerer::Watch(LPVOID self)
{
    static_cast<MessageBoxAnswerer *>(self)->WatchLoop();
    return 0;
}

void MessageBoxAnswerer::WatchLoop()
{
    // The thread's message queue comes into being here, before the caller counts its handles.
    MSG none;
    PeekMessageA(&none, NULL, 0, 0, PM_NOREMOVE);
    SetEvent(Ready);
    while (!Stopping) {
        HWND box = NULL;
        EnumThreadWindows(WatchedThread, MatchDialog, reinterpret_cast<LPARAM>(&box));
        if (!box) {
            Sleep(2);
            continue;
        }
        Seen.push_back(Describe(box));
        PostMessageA(box, WM_COMMAND, Answer(Seen.back()), 0);
        DWORD start = GetTickCount();
        while (IsWindow(box) && GetTickCount() - start < STEP_HANG_GUARD_MS)
            Sleep(2);
        if (IsWindow(box)) {
            Seen.back().Text += " <did not close on the answer>";
            return;
        }
    }
}
