// A stand-in for the file manager's main window: answers the closer's protocol the way its
// command line says, and logs every message of interest, one line each:
//   <GetTickCount> <message time, key events only, else 0> <main|dialogN> <event>
//
// fake_peer.exe LOG [--class NAME] [--never-close] [--close-delay MS] [--dialogs N]
//               [--dialog-close-on escape|sc-close|nothing] [--slow-pings COUNT] [--slow-ping-ms MS]
//               [--identity HEX|hang] [--final-hang] [--busy-until-sent]
//
// --busy-until-sent: once ready, the window's thread reads no messages (as while it saves a large
// file) until a message sent to it waits, then logs "awake" and answers it.
//
// The protocol values are written out here on purpose, as the file manager knows them, rather
// than taken from the closer's header: a wrong value there must show.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const UINT WM_INSTANCE_CONTROL = 0x0601;
const WPARAM CONTROL_SIGNATURE = 0x74598235;
const LPARAM REQUEST_PING = 0;
const LPARAM REQUEST_IDENTIFY = 0x63215781;
const LPARAM REQUEST_FINAL = 0x63215782;
const DWORD IDENTITY_REPLY = 0x23452741;

// No peer outlives a test run that lost track of it.
const DWORD LIFETIME_MS = 600000;
const UINT_PTR CLOSE_TIMER = 1;
const char DIALOG_CLASS[] = "FakePeerDialog";

enum DialogClosesOn { CLOSES_ON_ESCAPE, CLOSES_ON_SC_CLOSE, CLOSES_ON_NOTHING };

struct PeerOptions {
    const char *LogPath = NULL;
    const char *ClassName = "TVELT_MAIN";
    bool NeverClose = false;
    UINT CloseDelayMs = 0;
    int Dialogs = 0;
    DialogClosesOn DialogCloses = CLOSES_ON_ESCAPE;
    int SlowPings = 0;
    DWORD SlowPingMs = 800;
    DWORD IdentityValue = IDENTITY_REPLY;
    bool IdentifyHangs = false;
    bool FinalHangs = false;
    bool BusyUntilSent = false;
};

PeerOptions Options;
HANDLE LogFile = INVALID_HANDLE_VALUE;

void Log(const char *role, const char *event, DWORD messageTime = 0)
{
    char line[512];
    int length = snprintf(line, sizeof(line), "%lu %lu %s %s\r\n", GetTickCount(), messageTime, role, event);
    DWORD written = 0;
    WriteFile(LogFile, line, static_cast<DWORD>(length), &written, NULL);
}

// Logs Escape going down or up; answers whether the message was one.
bool LogEscape(const char *role, UINT message, WPARAM key)
{
    if (key != VK_ESCAPE || (message != WM_KEYDOWN && message != WM_KEYUP))
        return false;
    Log(role, message == WM_KEYDOWN ? "esc_down" : "esc_up", static_cast<DWORD>(GetMessageTime()));
    return true;
}

bool IsSysClose(UINT message, WPARAM command)
{
    return message == WM_SYSCOMMAND && (command & 0xFFF0) == SC_CLOSE;
}

void HangForever()
{
    Sleep(INFINITE);
}

LRESULT AnswerControl(WPARAM signature, LPARAM request)
{
    char event[64];
    if (signature != CONTROL_SIGNATURE) {
        snprintf(event, sizeof(event), "control %llx %llx", static_cast<unsigned long long>(signature),
                 static_cast<unsigned long long>(request));
        Log("main", event);
        return 0;
    }
    if (request == REQUEST_PING) {
        Log("main", "ping");
        if (Options.SlowPings > 0) {
            Options.SlowPings--;
            Sleep(Options.SlowPingMs);
        }
        return 1;
    }
    if (request == REQUEST_IDENTIFY) {
        Log("main", "identify");
        if (Options.IdentifyHangs)
            HangForever();
        return Options.IdentityValue;
    }
    if (request == REQUEST_FINAL) {
        Log("main", "final");
        if (Options.FinalHangs)
            HangForever();
        return 0;
    }
    snprintf(event, sizeof(event), "control %llx %llx", static_cast<unsigned long long>(signature),
             static_cast<unsigned long long>(request));
    Log("main", event);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INSTANCE_CONTROL)
        return AnswerControl(wParam, lParam);
    if (LogEscape("main", message, wParam))
        return 0;
    if (IsSysClose(message, wParam)) {
        Log("main", "sc_close");
        if (Options.NeverClose)
            return 0;
        if (Options.CloseDelayMs)
            SetTimer(window, CLOSE_TIMER, Options.CloseDelayMs, NULL);
        else
            DestroyWindow(window);
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        KillTimer(window, CLOSE_TIMER);
        DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        // Only SC_CLOSE closes this window.
        return 0;
    case WM_DESTROY:
        Log("main", "destroyed");
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char role[32];
    snprintf(role, sizeof(role), "dialog%d", static_cast<int>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    if (message == WM_INSTANCE_CONTROL) {
        Log(role, "control");
        return 0;
    }
    if (LogEscape(role, message, wParam)) {
        if (message == WM_KEYDOWN && Options.DialogCloses == CLOSES_ON_ESCAPE)
            DestroyWindow(window);
        return 0;
    }
    if (IsSysClose(message, wParam)) {
        Log(role, "sc_close");
        if (Options.DialogCloses != CLOSES_ON_NOTHING)
            DestroyWindow(window);
        return 0;
    }
    if (message == WM_CLOSE)
        return 0;
    if (message == WM_DESTROY) {
        Log(role, "destroyed");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ParseOptions(int argc, char **argv)
{
    if (argc < 2)
        return false;
    Options.LogPath = argv[1];
    for (int i = 2; i < argc; i++) {
        std::string option = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : NULL;
        if (option == "--never-close") {
            Options.NeverClose = true;
            continue;
        }
        if (option == "--final-hang") {
            Options.FinalHangs = true;
            continue;
        }
        if (option == "--busy-until-sent") {
            Options.BusyUntilSent = true;
            continue;
        }
        if (!value)
            return false;
        i++;
        if (option == "--class")
            Options.ClassName = value;
        else if (option == "--close-delay")
            Options.CloseDelayMs = strtoul(value, NULL, 10);
        else if (option == "--dialogs")
            Options.Dialogs = atoi(value);
        else if (option == "--dialog-close-on")
            Options.DialogCloses = strcmp(value, "escape") == 0     ? CLOSES_ON_ESCAPE
                                   : strcmp(value, "sc-close") == 0 ? CLOSES_ON_SC_CLOSE
                                                                     : CLOSES_ON_NOTHING;
        else if (option == "--slow-pings")
            Options.SlowPings = atoi(value);
        else if (option == "--slow-ping-ms")
            Options.SlowPingMs = strtoul(value, NULL, 10);
        else if (option == "--identity" && strcmp(value, "hang") == 0)
            Options.IdentifyHangs = true;
        else if (option == "--identity")
            Options.IdentityValue = strtoul(value, NULL, 16);
        else
            return false;
    }
    return true;
}

DWORD WINAPI EndAfterLifetime(LPVOID)
{
    Sleep(LIFETIME_MS);
    ExitProcess(3);
}

bool RegisterClasses(HINSTANCE instance)
{
    WNDCLASSA main = {};
    main.lpfnWndProc = MainWindowProc;
    main.hInstance = instance;
    main.hCursor = LoadCursor(NULL, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    main.lpszClassName = Options.ClassName;
    WNDCLASSA dialog = main;
    dialog.lpfnWndProc = DialogProc;
    dialog.lpszClassName = DIALOG_CLASS;
    return RegisterClassA(&main) && RegisterClassA(&dialog);
}

// Each dialog is owned by the one before it, as a dialog opened from a dialog is.
HWND OpenDialogs(HINSTANCE instance, HWND main)
{
    HWND owner = main;
    for (int number = 1; number <= Options.Dialogs; number++) {
        char caption[32];
        snprintf(caption, sizeof(caption), "dialog %d", number);
        HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, DIALOG_CLASS, caption,
                                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 120 + 20 * number,
                                      120 + 20 * number, 240, 140, owner, NULL, instance, NULL);
        if (!dialog)
            return NULL;
        SetWindowLongPtrA(dialog, GWLP_USERDATA, number);
        owner = dialog;
    }
    return owner;
}

// Holds the thread away from its messages until one is sent to it. It only looks at the queue's
// state and sleeps: a thread that reads its messages, or waits on its queue, does not count as hung.
void StayBusyUntilSent()
{
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE))
        Sleep(10);
    Log("main", "awake");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!ParseOptions(__argc, __argv))
        return 2;
    CloseHandle(CreateThread(NULL, 0, EndAfterLifetime, NULL, 0, NULL));
    LogFile = CreateFileA(Options.LogPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (LogFile == INVALID_HANDLE_VALUE || !RegisterClasses(instance))
        return 2;
    HWND main = CreateWindowExA(0, Options.ClassName, "fake peer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 320,
                                240, NULL, NULL, instance, NULL);
    if (!main)
        return 2;
    HWND top = OpenDialogs(instance, main);
    if (!top)
        return 2;
    SetForegroundWindow(top);
    SetFocus(top);
    char className[300] = "";
    GetClassNameA(main, className, sizeof(className));
    Log("main", (std::string("ready ") + className).c_str());
    if (Options.BusyUntilSent)
        StayBusyUntilSent();

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    CloseHandle(LogFile);
    return 0;
}
