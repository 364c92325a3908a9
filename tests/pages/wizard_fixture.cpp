#include "wizard_fixture.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "support/files.h"
#include "support/temp_directory.h"

namespace {

SettingsFolder MakeSettingsFolder()
{
    SettingsFolder folder;
    folder.Dir = TempDirectory() + "pages_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.Dir.c_str(), NULL);
    folder.MainIni = folder.Dir + "\\vtmain.ini";
    folder.OtherIni = folder.Dir + "\\other.ini";
    folder.FtpIni = folder.Dir + "\\vpx_ftp.ini";
    folder.SubDir = folder.Dir + "\\folder.ini";
    folder.Missing = folder.Dir + "\\missing.ini";
    EXPECT_TRUE(WriteTextFile(folder.MainIni, "[Configuration]\r\n")) << folder.MainIni;
    EXPECT_TRUE(WriteTextFile(folder.OtherIni, "[Other]\r\n")) << folder.OtherIni;
    EXPECT_TRUE(WriteTextFile(folder.FtpIni, "[connections]\r\n")) << folder.FtpIni;
    CreateDirectoryA(folder.SubDir.c_str(), NULL);
    return folder;
}

}  // namespace

const SettingsFolder &Settings()
{
    static const SettingsFolder folder = MakeSettingsFolder();
    return folder;
}

void GoToSettingsSource(WizardDriver &wizard)
{
    wizard.Next();
    wizard.Next();
    EXPECT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
}

void ChooseSources(WizardDriver &wizard, bool copySettings, bool copyPlugins, const std::string &mainIni)
{
    // Box 1002 can only be clicked while box 1001 is checked.
    if (!wizard.Checked(IDC_COPY_SETTINGS))
        wizard.Click(IDC_COPY_SETTINGS);
    if (wizard.Checked(IDC_COPY_PLUGINS) != copyPlugins)
        wizard.Click(IDC_COPY_PLUGINS);
    if (!copySettings)
        wizard.Click(IDC_COPY_SETTINGS);
    wizard.SetText(IDC_MAIN_INI_EDIT, mainIni);
}

HWND CreateCheckList(int rows, int checked)
{
    HWND list = CreateWindowA(WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 200, 200, NULL, NULL,
                              GetModuleHandleA(NULL), NULL);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int row = 0; row < rows; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char *>("row");
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ListView_SetItemState(list, row, INDEXTOSTATEIMAGEMASK(row < checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    return list;
}
