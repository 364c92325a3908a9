#include "support/engine_fixture.h"

#include "support/temp_directory.h"

#include <commctrl.h>

namespace engine_fixture {

namespace {

INT_PTR CALLBACK InertDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

Fixture BuildFixture(const DesktopDescription &description)
{
    Fixture fixture;
    fixture.Root = UniqueTempDirectory("engine");
    fixture.DesktopDir = fixture.Root + "\\desktop";
    fixture.DeviceDir = fixture.Root + "\\device";
    fixture.MainIniPath = fixture.DesktopDir + "\\vtmain.ini";
    fixture.FtpIniPath = fixture.DesktopDir + "\\vpx_ftp.ini";
    MakeDirectories(fixture.DesktopDir);
    MakeDirectories(fixture.DeviceDir);

    for (const FixtureFile &file : description.Files)
        WriteFileBytes(fixture.DesktopDir + "\\" + file.RelativePath, file.Content, file.Attributes);
    if (!description.ButtonBarPath.empty())
        WriteFileBytes(fixture.DesktopDir + "\\" + description.ButtonBarPath, description.ButtonBarContent);
    if (description.HasFtpIni)
        WriteFileBytes(fixture.FtpIniPath, description.FtpIni);
    // Last, so that a read-only attribute does not stand in the way of the other files.
    WriteFileBytes(fixture.MainIniPath, description.MainIni, description.MainIniAttributes);
    return fixture;
}

HWND CreatePageFromTemplate(int templateId)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    return CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(templateId), NULL, InertDialogProc, 0);
}

HWND CreateSettingsFileList(HWND parent, const std::vector<ListRow> &rows)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, parent, NULL,
                                GetModuleHandleA(NULL), NULL);
    if (!list)
        return NULL;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<char *>("Settings file");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (const ListRow &row : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<char *>(row.Name);
        int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMA state = {};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(row.Checked ? 2 : 1);
        SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    }
    return list;
}

std::string ControlText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

}  // namespace engine_fixture
