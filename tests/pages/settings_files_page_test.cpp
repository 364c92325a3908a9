// The settings-files page on its own template, against a real settings directory.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "lists/settings_file_rows.h"
#include "pages/wizard.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/install_state_fixture.h"
#include "support/trees.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> NameSizes;

class SettingsFilesPageTest : public ::testing::Test {
protected:
    std::string Root;
    HWND Page = NULL;

    void SetUp() override
    {
        Root = PointFreshInstallStateAtNewDesktop("settings_files_page");
    }
    void TearDown() override
    {
        if (Page)
            DestroyWindow(Page);
        RemoveTree(Root);
    }
    void File(const std::string &name, unsigned long long size) { WriteSizedFile(Root + "\\" + name, size); }
    HWND OpenPage()
    {
        Page = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SETTINGS_FILES), NULL,
                                  SettingsFilesPageProc, 0);
        return Page;
    }
    HWND List() const { return GetDlgItem(Page, IDC_SETTINGS_FILE_LIST); }
    // Rows sorted by name: the directory search decides the order shown.
    NameSizes Rows() const
    {
        NameSizes rows;
        for (int row = 0; row < ListRowCount(List()); ++row) {
            char name[PATH_BUFFER_SIZE], size[PATH_BUFFER_SIZE];
            GetListText(name, COUNTOF(name), List(), row, 0);
            GetListText(size, COUNTOF(size), List(), row, 1);
            rows.push_back({name, size});
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(SettingsFilesPageTest, ListsTheOtherSettingsFiles)
{
    File("vtmain.ini", 100);
    File("VPX_FTP.INI", 100);
    File("WIN.INI", 100);
    File("system.ini", 100);
    File("one.ini", 1);
    File("two.ini", 2048);
    File("three.ini", 2049);
    File("empty.ini", 0);
    File("notes.txt", 100);
    MakeDirectories(Root + "\\folder.ini");
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_EQ(ListRowCount(List()), SettingsFileRows.Count) << "the list is drawn from the rows";
    NameSizes expected = {{"one.ini", "1k"}, {"three.ini", "3k"}, {"two.ini", "2k"}};
    EXPECT_EQ(expected, Rows());
}

TEST_F(SettingsFilesPageTest, OnlyTheFixedNamesAreLeftOut)
{
    File("vtmain.ini", 100);
    File("desktop.ini", 100);
    File("ftp.ini", 100);
    lstrcpyA(InstallState.SourceIniPath, (Root + "\\desktop.ini").c_str());
    lstrcpyA(InstallState.SourceFtpIniPath, (Root + "\\ftp.ini").c_str());
    ASSERT_NE(nullptr, OpenPage());
    NameSizes expected = {{"desktop.ini", "1k"}, {"ftp.ini", "1k"}};
    EXPECT_EQ(expected, Rows());
}

TEST_F(SettingsFilesPageTest, NothingToOffer)
{
    const char *sources[] = {"vtmain.ini", ""};  // a path without a directory gives an empty list
    File("vtmain.ini", 10);
    File("vpx_ftp.ini", 10);
    File("win.ini", 10);
    for (const char *source : sources) {
        if (!*source)
            lstrcpyA(InstallState.SourceIniPath, "vtmain.ini");
        ASSERT_NE(nullptr, OpenPage());
        EXPECT_TRUE(Rows().empty()) << "source " << InstallState.SourceIniPath;
        DestroyWindow(Page);
        Page = NULL;
    }
}

TEST_F(SettingsFilesPageTest, LargeFileKeepsItsTrueSize)
{
    File("big.ini", (4ull << 30) + 1);
    ASSERT_NE(nullptr, OpenPage());
    NameSizes expected = {{"big.ini", "4194305k"}};
    EXPECT_EQ(expected, Rows());
}

TEST_F(SettingsFilesPageTest, CheckAllThenUncheckSelected)
{
    for (const char *name : {"a.ini", "b.ini", "c.ini", "d.ini", "e.ini"})
        File(name, 10);
    ASSERT_NE(nullptr, OpenPage());
    ASSERT_EQ(5, ListRowCount(List()));
    SendMessageA(Page, WM_COMMAND, IDC_CHECK_ALL, 0);
    EXPECT_EQ(5, CountCheckedItems(List()));
    for (int row : {1, 3}) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(Page, WM_COMMAND, IDC_UNCHECK_ALL_SELECTED, 0);
    EXPECT_EQ(3, CountCheckedItems(List()));
    EXPECT_FALSE(IsItemChecked(List(), 1));
    EXPECT_FALSE(IsItemChecked(List(), 3));
    EXPECT_TRUE(IsItemChecked(List(), 0));
}

}  // namespace
