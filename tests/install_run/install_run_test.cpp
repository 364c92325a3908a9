// The whole wizard, driven as a user would, with the real installation behind its progress
// page: what lands on the device, and that the desktop installation is only ever read.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "lists/list_rows.h"
#include "resources/resource.h"
#include "support/engine_fixture.h"
#include "support/install_state_fixture.h"
#include "support/registrations.h"
#include "support/registry_snapshot.h"
#include "support/tree_checksum.h"
#include "support/trees.h"
#include "support/wizard_driver.h"

using namespace engine_fixture;

namespace {

const char DESKTOP_INI[] =
    "[Configuration]\r\n"
    "InstallDir=C:\\Veltrano\r\n"
    "iconlib=C:\\Veltrano\\icons.dll\r\n"
    "TabDir=C:\\Veltrano\\tabs\r\n"
    "UseIniInProgramDir=1\r\n"
    "FirstTime=0\r\n"
    "[Lister]\r\n"
    "IViewPath=C:\\iview\\i_view32.exe\r\n"
    "Maximized=1\r\n"
    "[PackerPlugins]\r\n"
    "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n"
    "tar=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n"
    "[ListerPlugins]\r\n"
    "0=%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\r\n"
    "0_detect=EXT=\"JPG\"\r\n"
    "[buttonbar]\r\n"
    "buttonbar=%VELTRANO_PATH%\\bars\\my.bar\r\n";

DesktopDescription Desktop()
{
    DesktopDescription desktop;
    desktop.MainIni = DESKTOP_INI;
    desktop.HasFtpIni = true;
    desktop.FtpIni = "[connections]\r\n";
    desktop.ButtonBarPath = "bars\\my.bar";
    desktop.ButtonBarContent = "[Buttonbar]\r\nButtoncount=0\r\n";
    desktop.Files = {
        {"plugins\\arc\\arc.vpx", "arc plugin"},
        {"plugins\\arc\\doc\\readme.txt", "read me"},
        {"plugins\\arc\\old.zip", "left behind"},
        {"plugins\\img\\imgview.vlx", "image viewer"},
        {"extra1.ini", "[one]\r\n"},
        {"extra2.ini", "[two]\r\n"},
    };
    return desktop;
}

// The sections every portable file of these runs has, before the language keys and plugins.
IniFile PortableBase(const char *languageCode)
{
    std::string base = std::string("%U3_DEVICE_EXEC_PATH%\\language\\vtmd_") + languageCode;
    return {
        {"Configuration",
         {"InstallDir=C:\\Veltrano", "FirstTime=0", "TabDir=%U3_APP_DATA_PATH%",
          "pluginbasedir=%U3_APP_DATA_PATH%\\Plugins", "ThumbsLocation=%U3_HOST_EXEC_PATH%\\",
          "TreeFileLocation=%U3_HOST_EXEC_PATH%\\treeinfo%D%.vt", "LanguageIni=" + base + ".lng",
          "Mainmenu=" + base + ".mnu"}},
        {"Lister", {"Maximized=1"}},
        {"buttonbar", {"buttonbar=%U3_APP_DATA_PATH%\\my.bar"}},
    };
}

class InstallRun : public ::testing::Test {
protected:
    Fixture Files;
    std::string DesktopBefore, RegistryBefore;

    void SetUp() override
    {
        ResetInstallState();
        Files = BuildFixture(Desktop());
        DesktopBefore = TreeChecksum(Files.DesktopDir);
        RegistryBefore = SnapshotVeltranoRegistry();
        // What the start-up finds and exports for a desktop installation in DesktopDir.
        ExportInstallVariables(Files.DesktopDir, Files.DeviceDir);
        PointInstallStateAt(Files.DesktopDir, Files.DeviceDir);
        GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    }
    void TearDown() override
    {
        EXPECT_EQ(DesktopBefore, TreeChecksum(Files.DesktopDir)) << "the desktop installation changed";
        EXPECT_EQ(RegistryBefore, SnapshotVeltranoRegistry()) << "the desktop registry values changed";
        EXPECT_EQ(std::vector<std::string>(), RegistrationsNamingNoDeviceFile(Files.DeviceDir))
            << "registrations that name no file on the device";
        EXPECT_EQ(std::vector<std::string>(),
                  RegistrationsNotCopiedFromTheirSource(Files.DeviceDir, Files.MainIniPath, {}, Files.DesktopDir))
            << "registrations whose file is not a copy of their own plugin";
        SetCurrentDirectoryA(savedDirectory_);
        ExportInstallVariables("", "");
        RemoveTree(Files.Root);
    }

    IniFile Portable() const { return PortableIni(Files.DeviceDir); }

    // From the welcome page to the settings source page with a language chosen.
    static void ChooseLanguage(WizardDriver &wizard, int row)
    {
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_LANGUAGE);
        wizard.SelectComboRow(IDC_LANGUAGE_LIST, row);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
    }
    static void TickBoxes(WizardDriver &wizard, bool plugins)
    {
        wizard.Click(IDC_COPY_SETTINGS);
        if (plugins)
            wizard.Click(IDC_COPY_PLUGINS);
    }
    // Next on the summary, then waits for the outcome; the wizard stays open on the progress page.
    static std::string Install(WizardDriver &wizard)
    {
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        wizard.Next();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_PROGRESS);
        wizard.WaitUntil([&] { return wizard.ButtonUsable(BUTTON_FINISH); }, "Finish after the installation run",
                         RUN_HANG_GUARD_MS);
        std::string outcome = wizard.Text(IDC_FIRST_PLAIN_LABEL);
        EXPECT_FALSE(wizard.Visible(IDC_PROGRESS_BAR));
        EXPECT_FALSE(wizard.ButtonUsable(BUTTON_BACK));
        return outcome;
    }

    // Installs with a large plugin whose copy `cancel` interrupts once it is well under way, and
    // checks that the run ended as a cancelled one.
    void CancelLargeCopy(const std::function<void(WizardDriver &)> &cancel);

private:
    char savedDirectory_[MAX_PATH] = "";
};

TEST_F(InstallRun, SettingsWithoutPlugins)
{
    RunDrivenWizard([&](WizardDriver &wizard) {
        ChooseLanguage(wizard, 1);  // Deutsch
        TickBoxes(wizard, false);
        wizard.Next();
        EXPECT_EQ(Install(wizard), "Installation complete!");
        EXPECT_EQ(wizard.Text(IDC_STATUS_LINE), "You can now run Veltrano via the U3 Launchpad.");
        EXPECT_EQ(wizard.Text(IDC_PERCENT), "0%") << "nothing moved the bar";
        EXPECT_EQ(0, SendMessageA(wizard.Control(IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
        wizard.Finish();
        wizard.WaitForClose();
    });
    std::vector<std::string> expected = {"my.bar", "vpx_ftp.ini", "vtmain.ini"};
    EXPECT_EQ(expected, ListTreeFiles(Files.DeviceDir));
    IniFile portable = Portable();
    EXPECT_EQ(PortableBase("deu"), portable) << FormatIni(portable);
}

TEST_F(InstallRun, SettingsPluginsAndAnExtraFile)
{
    RunDrivenWizard([&](WizardDriver &wizard) {
        ChooseLanguage(wizard, 2);  // Français
        TickBoxes(wizard, true);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        HWND plugins = wizard.PluginList();
        wizard.SetRowChecked(plugins, 0, true);  // Packer: arc
        wizard.SetRowChecked(plugins, 2, true);  // Lister: 0: imgview
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_FILES);
        wizard.SetRowChecked(wizard.SettingsFileList(), 0, true);  // extra1.ini, the search's first
        wizard.Next();
        EXPECT_EQ(Install(wizard), "Installation complete!");
        EXPECT_EQ(wizard.Text(IDC_PERCENT), "100%");
        EXPECT_EQ(100, SendMessageA(wizard.Control(IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
        EXPECT_EQ(wizard.Text(IDC_STATUS_LINE), "You can now run Veltrano via the U3 Launchpad.");
        wizard.Finish();
        wizard.WaitForClose();
    });
    std::vector<std::string> expected = {
        "Plugins\\vlx\\imgview\\imgview.vlx", "Plugins\\vpx\\arc\\arc.vpx", "Plugins\\vpx\\arc\\doc\\readme.txt",
        "extra1.ini", "my.bar", "vpx_ftp.ini", "vtmain.ini"};
    EXPECT_EQ(expected, ListTreeFiles(Files.DeviceDir));
    IniFile portable = PortableBase("fra");
    portable.push_back({"PackerPlugins", {"arc=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"}});
    portable.push_back({"ListerPlugins",
                        {"0=%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx", "0_detect=\"EXT=\"JPG\"\""}});
    IniFile actual = Portable();
    EXPECT_EQ(portable, actual) << FormatIni(actual);
}

// The plugin box cleared after the settings-files page was visited: the checked files are still
// copied, though the summary no longer lists them, and no plugin is.
TEST_F(InstallRun, PluginBoxClearedAfterTheSettingsFilesPage)
{
    RunDrivenWizard([&](WizardDriver &wizard) {
        ChooseLanguage(wizard, 0);
        TickBoxes(wizard, true);
        wizard.Next();
        wizard.SetRowChecked(wizard.PluginList(), 0, true);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_FILES);
        wizard.SetRowChecked(wizard.SettingsFileList(), 1, true);  // extra2.ini
        wizard.Back();
        wizard.Back();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
        wizard.Click(IDC_COPY_PLUGINS);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        EXPECT_EQ(wizard.Text(IDC_SUMMARY_TEXT),
                  "\n- Settings files:\n  " + Files.MainIniPath + "\n  " + Files.FtpIniPath + "\n");
        EXPECT_EQ(Install(wizard), "Installation complete!");
        EXPECT_EQ(wizard.Text(IDC_STATUS_LINE), "extra2.ini") << "English: the last status stays";
        wizard.Finish();
        wizard.WaitForClose();
    });
    std::vector<std::string> expected = {"extra2.ini", "my.bar", "vpx_ftp.ini", "vtmain.ini"};
    EXPECT_EQ(expected, ListTreeFiles(Files.DeviceDir));
    IniFile portable = PortableBase("eng");
    // English: the language keys are removed rather than written.
    portable[0].Lines.resize(portable[0].Lines.size() - 2);
    IniFile actual = Portable();
    EXPECT_EQ(portable, actual) << FormatIni(actual);
}

// Texts the wizard's thread gives its static controls, and the positions it gives the progress
// bar, as a user would have seen them.
std::vector<std::string> TextsShown;
std::vector<int> PositionsShown;
HHOOK TextHook;

LRESULT CALLBACK RecordText(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *call = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && call->lParam)
        TextsShown.push_back(reinterpret_cast<const char *>(call->lParam));
    if (code == HC_ACTION && call->message == PBM_SETPOS)
        PositionsShown.push_back(static_cast<int>(call->wParam));
    return CallNextHookEx(TextHook, code, wParam, lParam);
}

const char LARGE_PLUGIN_COPY[] = "Plugins\\vfx\\big\\";

size_t LargePluginFilesCopied(const std::string &device)
{
    std::vector<std::string> copied = ListTreeFiles(device);
    return std::count_if(copied.begin(), copied.end(),
                         [](const std::string &f) { return f.find(LARGE_PLUGIN_COPY) == 0; });
}

// Cancel while a large plugin directory is being copied: the copy stops at its next entry,
// later plugins are neither copied nor registered, and the run reports the abort.
void InstallRun::CancelLargeCopy(const std::function<void(WizardDriver &)> &cancel)
{
    std::string big = Files.DesktopDir + "\\plugins\\big";
    for (int i = 0; i < 3000; ++i)
        WriteFileBytes(big + "\\d" + std::to_string(i % 30) + "\\f" + std::to_string(i) + ".dat", "data");
    WriteFileBytes(big + "\\big.vpx", "big plugin");
    std::string settings = std::string(DESKTOP_INI) + "[FileSystemPlugins]\r\nbig=" + big + "\\big.vpx\r\n";
    WriteFileBytes(Files.MainIniPath, settings);
    DesktopBefore = TreeChecksum(Files.DesktopDir);

    TextsShown.clear();
    PositionsShown.clear();
    TextHook = SetWindowsHookExA(WH_CALLWNDPROC, RecordText, NULL, GetCurrentThreadId());
    RunDrivenWizard([&](WizardDriver &wizard) {
        ChooseLanguage(wizard, 1);
        TickBoxes(wizard, true);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        ASSERT_EQ(ListRowCount(wizard.PluginList()), 4);
        wizard.SetRowChecked(wizard.PluginList(), 2, true);  // Lister: 0: imgview
        wizard.SetRowChecked(wizard.PluginList(), 3, true);  // File System: big
        wizard.Next();
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        wizard.Next();
        wizard.WaitUntil([&] { return wizard.Text(IDC_STATUS_LINE) == "File System: big"; },
                         "the big plugin's copy to start", RUN_HANG_GUARD_MS);
        cancel(wizard);
        wizard.WaitForClose();
    });
    UnhookWindowsHookEx(TextHook);

    EXPECT_EQ(1, InstallState.AbortRequested);
    EXPECT_NE(TextsShown.end(), std::find(TextsShown.begin(), TextsShown.end(), "Installation of plugins aborted!"));
    EXPECT_EQ(TextsShown.end(), std::find(TextsShown.begin(), TextsShown.end(), "Installation complete!"));
    // Two checked rows: the bar stood at 200 / 4 and 300 / 4 percent, and the cancelled run left
    // it at the second, without the 100 of the settings-files step.
    EXPECT_EQ((std::vector<int>{50, 75}), PositionsShown);
    EXPECT_NE(TextsShown.end(), std::find(TextsShown.begin(), TextsShown.end(), "75%"));
    EXPECT_LT(LargePluginFilesCopied(Files.DeviceDir), 3001u) << "the copy stopped early";
    IniFile portable = Portable();
    bool registered = false;
    for (const IniSection &section : portable)
        registered = registered || section.Name == "FileSystemPlugins";
    EXPECT_FALSE(registered) << "a cancelled copy is not registered";
    // The language is still recorded after a cancelled transfer.
    EXPECT_EQ("LanguageIni=%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng", portable[0].Lines[portable[0].Lines.size() - 2]);
}

TEST_F(InstallRun, CancelDuringAPluginCopy)
{
    CancelLargeCopy([](WizardDriver &wizard) { wizard.PostPress(BUTTON_CANCEL); });
}

// Esc typed on the keyboard a while into the copy does what the Cancel button does.
TEST_F(InstallRun, EscapeKeyDuringAPluginCopy)
{
    CancelLargeCopy([&](WizardDriver &wizard) {
        wizard.WaitUntil([&] { return LargePluginFilesCopied(Files.DeviceDir) >= 100; },
                         "a hundred files of the big plugin on the device", RUN_HANG_GUARD_MS);
        SetForegroundWindow(wizard.Sheet());
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    });
}

// A request to end the program during the copy stops it as Cancel does, and still reaches the
// loop that runs the wizard, which ends and passes it on.
TEST_F(InstallRun, QuitRequestDuringAPluginCopy)
{
    const DWORD wizardThread = GetCurrentThreadId();
    const WPARAM exitCode = 7;
    CancelLargeCopy([&](WizardDriver &) { PostThreadMessageA(wizardThread, WM_QUIT, exitCode, 0); });
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the request to end was lost";
    EXPECT_EQ(exitCode, quit.wParam);
}

TEST_F(InstallRun, CancelBeforeTheSummaryWritesNothing)
{
    RunDrivenWizard([&](WizardDriver &wizard) {
        ChooseLanguage(wizard, 3);
        TickBoxes(wizard, true);
        wizard.Next();
        wizard.SetRowChecked(wizard.PluginList(), 0, true);
        wizard.Next();
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        wizard.Cancel();
        wizard.WaitForClose();
    });
    EXPECT_TRUE(ListTreeFiles(Files.DeviceDir).empty());
}

}  // namespace
