// The summary text and the summary page that shows it.
#include <windows.h>

#include <string>

#include "base/install_state.h"
#include "lists/plugin_rows.h"
#include "lists/settings_file_rows.h"
#include "pages/summary_text.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "wizard_fixture.h"

namespace {

// The plugin and settings-files rows as the two list pages would leave them: the first rows
// checked; a page never shown leaves no rows.
struct Lists {
    Lists(int pluginRows, int pluginsChecked, int fileRows, int filesChecked)
    {
        ClearPluginRows();
        ClearSettingsFileRows();
        for (int row = 0; row < pluginRows; ++row)
            AppendPluginRow()->Checked = row < pluginsChecked;
        for (int row = 0; row < fileRows; ++row)
            AppendSettingsFileRow()->Checked = row < filesChecked;
    }
    ~Lists()
    {
        ClearPluginRows();
        ClearSettingsFileRows();
    }
};

const int NEVER_CREATED = -1;

struct SummaryCase {
    const char *Name;
    int CopySettings, CopyPlugins;
    const char *Ini, *Ftp;
    int PluginRows, PluginsChecked, FileRows, FilesChecked;
    const char *Expected;
};

const SummaryCase SUMMARY_CASES[] = {
    {"nothing carried over", 0, 0, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", 4, 3, 3, 2, ""},
    {"settings only, lists ignored", 1, 0, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", 4, 3, 3, 2,
     "\n- Settings files:\n  C:\\v\\vtmain.ini\n  C:\\v\\vpx_ftp.ini\n"},
    {"settings and plugins", 1, 1, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", 10, 3, 5, 2,
     "\n- Settings files:\n  C:\\v\\vtmain.ini\n  C:\\v\\vpx_ftp.ini\n"
     "\n- 3 selected plugins\n"
     "\n- 2 selected settings files\n"},
    {"no row checked", 1, 1, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", 4, 0, 3, 0,
     "\n- Settings files:\n  C:\\v\\vtmain.ini\n  C:\\v\\vpx_ftp.ini\n"},
    {"lists never created", 1, 1, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", NEVER_CREATED, 0, NEVER_CREATED, 0,
     "\n- Settings files:\n  C:\\v\\vtmain.ini\n  C:\\v\\vpx_ftp.ini\n"},
    {"plugins only checked", 1, 1, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", 2, 1, NEVER_CREATED, 0,
     "\n- Settings files:\n  C:\\v\\vtmain.ini\n  C:\\v\\vpx_ftp.ini\n\n- 1 selected plugins\n"},
    {"settings files only checked", 1, 1, "C:\\v\\vtmain.ini", "C:\\v\\vpx_ftp.ini", 2, 0, 12, 12,
     "\n- Settings files:\n  C:\\v\\vtmain.ini\n  C:\\v\\vpx_ftp.ini\n\n- 12 selected settings files\n"},
    {"empty FTP path", 1, 0, "C:\\v\\vtmain.ini", "", 0, 0, 0, 0, "\n- Settings files:\n  C:\\v\\vtmain.ini\n  \n"},
};

}  // namespace

class SummaryText : public WizardTest {};

TEST_F(SummaryText, LayoutFollowsTheChoicesAndCheckMarks)
{
    for (const SummaryCase &summary : SUMMARY_CASES) {
        ResetInstallState();
        InstallState.CopySettings = summary.CopySettings;
        InstallState.CopyPlugins = summary.CopyPlugins;
        lstrcpyA(InstallState.SourceIniPath, summary.Ini);
        lstrcpyA(InstallState.SourceFtpIniPath, summary.Ftp);
        Lists lists(summary.PluginRows, summary.PluginsChecked, summary.FileRows, summary.FilesChecked);
        char text[SUMMARY_BUFFER_SIZE] = "stale";
        BuildSummaryText(text, COUNTOF(text));
        EXPECT_EQ(std::string(text), summary.Expected) << summary.Name;
    }
}

TEST_F(SummaryText, LongestPathsFitWhole)
{
    std::string ini(259, 'i'), ftp(259, 'f');
    InstallState.CopySettings = 1;
    InstallState.CopyPlugins = 1;
    lstrcpyA(InstallState.SourceIniPath, ini.c_str());
    lstrcpyA(InstallState.SourceFtpIniPath, ftp.c_str());
    Lists lists(3, 3, 2, 2);
    char text[SUMMARY_BUFFER_SIZE];
    BuildSummaryText(text, COUNTOF(text));
    EXPECT_EQ(std::string(text), "\n- Settings files:\n  " + ini + "\n  " + ftp +
                                     "\n\n- 3 selected plugins\n\n- 2 selected settings files\n");
}

class SummaryPage : public WizardTest {};

// A desktop folder with five plugin registrations and four extra settings files, so that the
// real plugin and settings-files pages have rows to check.
struct DesktopWithLists {
    std::string Dir, MainIni, FtpIni;
    DesktopWithLists()
    {
        Dir = FreshTempDirectory("summary_lists");
        MainIni = Dir + "\\vtmain.ini";
        FtpIni = Dir + "\\vpx_ftp.ini";
        std::string settings = "[PackerPlugins]\n";
        for (int i = 0; i < 5; ++i) {
            std::string plugin = Dir + "\\plugins\\p" + std::to_string(i) + "\\p.vpx";
            WriteTextFile(plugin, "plugin");
            settings += "p" + std::to_string(i) + "=" + plugin + "\n";
        }
        WriteTextFile(MainIni, settings);
        WriteTextFile(FtpIni, "[ftp]\n");
        for (int i = 0; i < 4; ++i)
            WriteTextFile(Dir + "\\extra" + std::to_string(i) + ".ini", "[x]\ny=1\n");
    }
    ~DesktopWithLists() { RemoveTree(Dir); }
};

TEST_F(SummaryPage, RebuildsTheTextOnEveryVisit)
{
    DesktopWithLists desktop;
    lstrcpyA(InstallState.SourceFtpIniPath, desktop.FtpIni.c_str());
    std::string settingsPart = "\n- Settings files:\n  " + desktop.MainIni + "\n  " + desktop.FtpIni + "\n";
    RunDrivenWizard([&](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        ChooseSources(wizard, true, true, desktop.MainIni);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        for (int row : {0, 1, 3})
            wizard.SetRowChecked(wizard.PluginList(), row, true);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_FILES);
        for (int row : {0, 2})
            wizard.SetRowChecked(wizard.SettingsFileList(), row, true);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_BACK));
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_NEXT));
        EXPECT_EQ(wizard.Text(IDC_SUMMARY_TEXT),
                  settingsPart + "\n- 3 selected plugins\n\n- 2 selected settings files\n");

        // Back to the plugin page, two plugins unchecked, and forward again.
        wizard.Back();
        wizard.Back();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        wizard.SetRowChecked(wizard.PluginList(), 0, false);
        wizard.SetRowChecked(wizard.PluginList(), 1, false);
        wizard.Next();
        wizard.Next();
        EXPECT_EQ(wizard.Text(IDC_SUMMARY_TEXT),
                  settingsPart + "\n- 1 selected plugins\n\n- 2 selected settings files\n");

        // Plugins dropped on the settings page: Back from the summary skips the list pages.
        wizard.Back();
        wizard.Back();
        wizard.Back();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
        wizard.Click(IDC_COPY_PLUGINS);
        wizard.Next();
        EXPECT_EQ(wizard.Text(IDC_SUMMARY_TEXT), settingsPart);
        wizard.Back();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);

        // Nothing carried over: the template's "Items:" is replaced by an empty text.
        wizard.Click(IDC_COPY_SETTINGS);
        wizard.Next();
        EXPECT_EQ(wizard.Text(IDC_SUMMARY_TEXT), "");
        wizard.Back();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
    });
}

TEST_F(SummaryPage, FirstShownWithoutSettingsIsEmpty)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        EXPECT_EQ(wizard.Text(IDC_SUMMARY_TEXT), "");
    });
}
