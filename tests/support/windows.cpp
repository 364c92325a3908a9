#include "support/windows.h"

namespace {

struct WindowSearch {
    DWORD ProcessId;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->ProcessId && IsWindowVisible(window))
        search->Found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChildText(HWND child, LPARAM context)
{
    std::vector<std::string> *texts = reinterpret_cast<std::vector<std::string> *>(context);
    if (GetParent(child) == GetAncestor(child, GA_PARENT))
        texts->push_back(WindowText(child));
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    WindowSearch search = {processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND WaitForProcessWindow(DWORD processId, const char *caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId)) {
            if (WindowText(window) == caption)
                return window;
        }
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

std::string WindowText(HWND window)
{
    char text[4096] = "";
    // WM_GETTEXT works across processes; GetWindowTextA does not for other processes' controls.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        STEP_HANG_GUARD_MS, NULL);
    return text;
}

std::vector<std::string> ChildTexts(HWND window)
{
    std::vector<std::string> texts;
    EnumChildWindows(window, CollectChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}
