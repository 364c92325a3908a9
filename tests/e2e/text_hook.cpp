// A window hook the end-to-end tests set on the installer's thread. Windows loads this library
// into the installer for it; after every WM_SETTEXT the installer's windows handle, it appends
// "<control id> <text>" to the file that the installer's environment names in
// VELTRANO_E2E_TEXT_LOG. It only watches: the message goes on unchanged.
//
// A wizard that is cancelled during the run shows its outcome and closes right away, faster
// than any window can be read from outside; this is how the tests see what it showed.
#include <windows.h>

#include <cstdio>

namespace {

void Record(HWND window)
{
    char path[MAX_PATH] = "";
    DWORD got = GetEnvironmentVariableA("VELTRANO_E2E_TEXT_LOG", path, sizeof(path));
    if (got == 0 || got >= sizeof(path))
        return;
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    char line[1100];
    int length = snprintf(line, sizeof(line), "%d %s\n", GetDlgCtrlID(window), text);
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length < 0 ? 0 : length), &written, NULL);
    CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK TextHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const CWPRETSTRUCT *call = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
        if (call->message == WM_SETTEXT)
            Record(call->hwnd);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
