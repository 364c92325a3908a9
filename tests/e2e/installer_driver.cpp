#include "installer_driver.h"

#include <commctrl.h>

#include "support/windows.h"

namespace {

const int BUTTON_IDS[] = {0x3023 /* Back */, 0x3024 /* Next */, 0x3025 /* Finish */, IDCANCEL};
const WPARAM BUTTON_PRESSES[] = {PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_CANCEL};
const char *const BUTTON_NAMES[] = {"Back", "Next", "Finish", "Cancel"};

const char SHEET_CAPTION[] = "Veltrano USB installer";
const DWORD POLL_MS = 5;
const int ROW_TEXT_SIZE = 260;

bool IsDialogClass(HWND window)
{
    char className[64] = "";
    GetClassNameA(window, className, sizeof(className));
    return lstrcmpA(className, "#32770") == 0;
}

}  // namespace

int SheetButtonId(SheetButton button)
{
    return BUTTON_IDS[button];
}

const char *SheetButtonName(SheetButton button)
{
    return BUTTON_NAMES[button];
}

// A block of memory in the installer's process, freed when it goes out of scope.
struct InstallerDriver::RemoteBlock {
    HANDLE Process;
    void *Address;
    RemoteBlock(HANDLE process, SIZE_T size)
        : Process(process), Address(VirtualAllocEx(process, NULL, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteBlock()
    {
        if (Address)
            VirtualFreeEx(Process, Address, 0, MEM_RELEASE);
    }
    bool Write(SIZE_T offset, const void *data, SIZE_T size)
    {
        SIZE_T done = 0;
        return Address && WriteProcessMemory(Process, static_cast<char *>(Address) + offset, data, size, &done) &&
               done == size;
    }
    bool Read(SIZE_T offset, void *data, SIZE_T size)
    {
        SIZE_T done = 0;
        return Address && ReadProcessMemory(Process, static_cast<char *>(Address) + offset, data, size, &done) &&
               done == size;
    }
    LPARAM At(SIZE_T offset) const
    {
        return reinterpret_cast<LPARAM>(static_cast<char *>(Address) + offset);
    }
};

InstallerDriver::~InstallerDriver()
{
    if (!started_)
        return;
    Kill();
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool InstallerDriver::Fail(const std::string &message)
{
    if (failure_.empty())
        failure_ = message;
    return false;
}

bool InstallerDriver::Start(const std::string &program, const std::vector<EnvironmentChange> &environment)
{
    std::vector<char> block = EnvironmentBlock(environment);
    if (!StartProgram("\"" + program + "\"", &block, &process_))
        return Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
    started_ = true;
    return true;
}

bool InstallerDriver::Running() const
{
    return started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void InstallerDriver::Kill()
{
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, PROCESS_HANG_GUARD_MS);
    }
}

bool InstallerDriver::WaitUntil(const std::function<bool()> &condition, const std::string &what, DWORD timeoutMs)
{
    if (!Ok())
        return false;
    DWORD start = GetTickCount();
    while (!condition()) {
        if (!Ok())
            return false;
        if (GetTickCount() - start > timeoutMs)
            return Fail("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
        Sleep(POLL_MS);
    }
    return true;
}

LRESULT InstallerDriver::SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, STEP_HANG_GUARD_MS, &result)) {
        if (IsWindow(window))
            Fail("the installer did not answer message " + std::to_string(message) + " within " +
                 std::to_string(STEP_HANG_GUARD_MS) + " ms");
        return 0;
    }
    return static_cast<LRESULT>(result);
}

bool InstallerDriver::FindSheet(DWORD timeoutMs)
{
    if (!Ok())
        return false;
    if (!started_)
        return Fail("the installer was not started");
    return WaitUntil(
        [this] {
            if (!Running())
                return Fail("the installer ended before its wizard appeared");
            for (HWND window : VisibleWindowsOf(process_.dwProcessId)) {
                DWORD_PTR page = 0;
                if (IsDialogClass(window) && WindowText(window) == SHEET_CAPTION &&
                    SendMessageTimeoutA(window, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &page) &&
                    page) {
                    sheet_ = window;
                    return true;
                }
            }
            return false;
        },
        std::string("the wizard \"") + SHEET_CAPTION + "\"", timeoutMs);
}

HWND InstallerDriver::Page()
{
    if (!Ok() || !IsWindow(sheet_))
        return NULL;
    return reinterpret_cast<HWND>(SendBounded(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int InstallerDriver::CurrentTemplate()
{
    HWND page = Page();
    if (!page)
        return 0;
    LRESULT index = SendBounded(sheet_, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
    if (index < 0)
        return 0;
    return static_cast<int>(SendBounded(sheet_, PSM_INDEXTOID, static_cast<WPARAM>(index), 0));
}

bool InstallerDriver::WaitForTemplate(int templateId, DWORD timeoutMs)
{
    return WaitUntil([this, templateId] { return CurrentTemplate() == templateId; },
                     "page " + std::to_string(templateId) + " (now on page " + std::to_string(CurrentTemplate()) +
                         ")",
                     timeoutMs);
}

bool InstallerDriver::ButtonUsable(SheetButton button)
{
    HWND control = IsWindow(sheet_) ? GetDlgItem(sheet_, BUTTON_IDS[button]) : NULL;
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

bool InstallerDriver::Press(SheetButton button, DWORD timeoutMs)
{
    if (!WaitUntil([this, button] { return ButtonUsable(button); },
                   std::string("the ") + BUTTON_NAMES[button] + " button to be usable on page " +
                       std::to_string(CurrentTemplate()),
                   timeoutMs))
        return false;
    if (!PostMessageA(sheet_, PSM_PRESSBUTTON, BUTTON_PRESSES[button], 0))
        return Fail(std::string("cannot press ") + BUTTON_NAMES[button]);
    return true;
}

HWND InstallerDriver::Control(int id)
{
    HWND page = Page();
    HWND control = page ? GetDlgItem(page, id) : NULL;
    if (!control && Ok())
        Fail("no control " + std::to_string(id) + " on page " + std::to_string(CurrentTemplate()));
    return control;
}

std::string InstallerDriver::Text(int id)
{
    HWND control = Control(id);
    if (!control)
        return "";
    char text[4096] = "";
    SendBounded(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

bool InstallerDriver::Checked(int id)
{
    HWND control = Control(id);
    return control && SendBounded(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool InstallerDriver::Click(int id)
{
    HWND control = Control(id);
    if (!control)
        return false;
    LRESULT before = SendBounded(control, BM_GETCHECK, 0, 0);
    // Posted, as a click is: whatever it opens does not hold the driver.
    PostMessageA(control, BM_CLICK, 0, 0);
    return WaitUntil([&] { return SendBounded(control, BM_GETCHECK, 0, 0) != before; },
                     "the check mark of control " + std::to_string(id) + " to change");
}

bool InstallerDriver::SetText(int id, const std::string &text)
{
    HWND control = Control(id);
    return control && SendBounded(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int InstallerDriver::ComboSelection(int id)
{
    HWND control = Control(id);
    return control ? static_cast<int>(SendBounded(control, CB_GETCURSEL, 0, 0)) : CB_ERR;
}

int InstallerDriver::RowCount(int listId)
{
    HWND list = Control(listId);
    return list ? static_cast<int>(SendBounded(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string InstallerDriver::RowText(int listId, int row, int subitem)
{
    HWND list = Control(listId);
    if (!list)
        return "";
    RemoteBlock block(process_.hProcess, sizeof(LVITEMA) + ROW_TEXT_SIZE);
    if (!block.Address) {
        Fail("cannot allocate memory in the installer's process");
        return "";
    }
    LVITEMA item = {};
    item.iSubItem = subitem;
    item.cchTextMax = ROW_TEXT_SIZE;
    item.pszText = reinterpret_cast<LPSTR>(block.At(sizeof(LVITEMA)));
    char text[ROW_TEXT_SIZE] = "";
    if (!block.Write(sizeof(LVITEMA), text, sizeof(text)) || !block.Write(0, &item, sizeof(item))) {
        Fail("cannot write into the installer's process");
        return "";
    }
    SendBounded(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), block.At(0));
    if (!block.Read(sizeof(LVITEMA), text, sizeof(text))) {
        Fail("cannot read from the installer's process");
        return "";
    }
    text[sizeof(text) - 1] = '\0';
    return text;
}

std::vector<std::string> InstallerDriver::RowTexts(int listId, int subitem)
{
    std::vector<std::string> texts;
    int count = RowCount(listId);
    for (int row = 0; row < count && Ok(); ++row)
        texts.push_back(RowText(listId, row, subitem));
    return texts;
}

bool InstallerDriver::RowChecked(int listId, int row)
{
    HWND list = Control(listId);
    return list && (SendBounded(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
                    INDEXTOSTATEIMAGEMASK(2)) != 0;
}

bool InstallerDriver::SetRowChecked(int listId, int row, bool checked)
{
    HWND list = Control(listId);
    if (!list)
        return false;
    RemoteBlock block(process_.hProcess, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    if (!block.Write(0, &item, sizeof(item)))
        return Fail("cannot write into the installer's process");
    SendBounded(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), block.At(0));
    if (RowChecked(listId, row) != checked)
        return Fail("row " + std::to_string(row) + " of list " + std::to_string(listId) + " did not take its check mark");
    return true;
}

bool InstallerDriver::CheckRowNamed(int listId, const std::string &text)
{
    std::vector<std::string> rows = RowTexts(listId);
    for (size_t row = 0; row < rows.size(); ++row) {
        if (rows[row] == text)
            return SetRowChecked(listId, static_cast<int>(row), true);
    }
    std::string shown;
    for (const std::string &row : rows)
        shown += " \"" + row + "\"";
    return Fail("list " + std::to_string(listId) + " has no row \"" + text + "\"; it shows" +
                (shown.empty() ? std::string(" nothing") : shown));
}

HWND InstallerDriver::WaitForWindow(const std::string &caption, DWORD timeoutMs)
{
    HWND found = NULL;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindowsOf(process_.dwProcessId)) {
                if (WindowText(window) == caption) {
                    found = window;
                    return true;
                }
            }
            return !Running() && Fail("the installer ended before a window \"" + caption + "\" appeared");
        },
        "a window \"" + caption + "\"", timeoutMs);
    return found;
}

bool InstallerDriver::WaitForExit(DWORD *exitCode, DWORD timeoutMs)
{
    if (!started_)
        return Fail("the installer was not started");
    if (!::WaitForExit(process_.hProcess, timeoutMs, exitCode))
        return Fail("the installer did not end within " + std::to_string(timeoutMs) + " ms (killed)");
    return true;
}
