// The plugin and settings-files pages inside the running wizard.
#include <windows.h>

#include <string>

#include "base/install_state.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "lists/plugin_rows.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "wizard_fixture.h"

namespace {

struct PluginDesktop {
    std::string Dir, MainIni;
    PluginDesktop()
    {
        Dir = FreshTempDirectory("plugin_page_wizard");
        MainIni = Dir + "\\vtmain.ini";
        WriteSizedFile(Dir + "\\plugins\\arc\\arc.vpx", 3000);
        WriteSizedFile(Dir + "\\plugins\\img\\imgview.vlx", 1000);
        WriteTextFile(Dir + "\\extra.ini", "[x]\n");
        WriteTextFile(MainIni, "[PackerPlugins]\narc=21," + Dir + "\\plugins\\arc\\arc.vpx\n"
                               "[ListerPlugins]\n0=" + Dir + "\\plugins\\img\\imgview.vlx\n0_detect=x\n");
    }
    ~PluginDesktop() { RemoveTree(Dir); }
};

class PluginPageInWizard : public WizardTest {
protected:
    void TearDown() override { SetEnvironmentVariableA("U3_APP_DATA_PATH", NULL); }
};

TEST_F(PluginPageInWizard, ListFilledOnceAndFreeSpaceOnEveryVisit)
{
    PluginDesktop desktop;
    SetEnvironmentVariableA("U3_APP_DATA_PATH", "R:\\unmapped");
    RunDrivenWizard([&](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        ChooseSources(wizard, true, true, desktop.MainIni);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_BACK));
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_NEXT));
        HWND list = wizard.Control(IDC_PLUGIN_LIST);
        ASSERT_EQ(PluginRows.Count, ListRowCount(list)) << "the list is drawn from the rows";
        ASSERT_EQ(2, ListRowCount(list));
        char label[PATH_BUFFER_SIZE];
        GetListText(label, COUNTOF(label), list, 0, 0);
        EXPECT_STREQ("Packer: arc", label);
        GetListText(label, COUNTOF(label), list, 1, 0);
        EXPECT_STREQ("Lister: 0: imgview", label);
        EXPECT_EQ(wizard.Text(IDC_FREE_SPACE), "0k") << "no such drive";

        wizard.SetRowChecked(list, 0, true);
        EXPECT_EQ(wizard.Text(IDC_CHECKED_TOTAL), "3k");
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_FILES);
        EXPECT_EQ(1, ListRowCount(wizard.SettingsFileList()));

        // Back on the plugin page the free space is worked out again; the list is not refilled.
        SetEnvironmentVariableA("U3_APP_DATA_PATH", desktop.Dir.c_str());
        wizard.Back();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        EXPECT_NE(wizard.Text(IDC_FREE_SPACE), "0k");
        EXPECT_EQ(2, ListRowCount(list));
        EXPECT_TRUE(IsItemChecked(list, 0)) << "check marks stay across Back and Next";
        EXPECT_EQ(wizard.Text(IDC_CHECKED_TOTAL), "3k");

        wizard.Click(IDC_CHECK_ALL);
        wizard.Settle();
        EXPECT_EQ(2, CountCheckedItems(list));
        EXPECT_EQ(wizard.Text(IDC_CHECKED_TOTAL), "4k");
        wizard.Back();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
    });
}

}  // namespace
