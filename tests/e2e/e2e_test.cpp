// The real stickinstall.exe, started as the U3 platform starts it and worked from outside as a
// user would, on the sample desktop installation of tests/fixtures. Each case compares the
// device afterwards with what must be there and checks that the desktop was only read.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource.h"
#include "sample_desktop.h"
#include "settings_text.h"
#include "support/desktop_fixture.h"
#include "support/files.h"
#include "support/registry_snapshot.h"
#include "support/temp_directory.h"
#include "support/tree_snapshot.h"
#include "support/trees.h"
#include "support/process.h"
#include "support/registrations.h"
#include "support/windows.h"
#include "typical_run.h"

namespace {

const DWORD UNWANTED_ATTRIBUTES = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The texts the installer's windows were given, seen through text_hook.dll (see there).
struct TextWatch {
    std::string LogPath;
    HMODULE Module = NULL;
    HHOOK Hook = NULL;

    explicit TextWatch(const std::string &logPath) : LogPath(logPath) { DeleteFileA(LogPath.c_str()); }
    ~TextWatch()
    {
        if (Hook)
            UnhookWindowsHookEx(Hook);
        if (Module)
            FreeLibrary(Module);
    }
    bool Attach(DWORD thread)
    {
        Module = LoadLibraryA(ProgramBesideTest("text_hook.dll").c_str());
        HOOKPROC proc = Module ? reinterpret_cast<HOOKPROC>(
                                     reinterpret_cast<void *>(GetProcAddress(Module, "TextHookProc")))
                               : NULL;
        Hook = proc ? SetWindowsHookExA(WH_CALLWNDPROCRET, proc, Module, thread) : NULL;
        return Hook != NULL;
    }
    // The texts control `id` was given, in order.
    std::vector<std::string> TextsOf(int id) const
    {
        std::vector<std::string> texts;
        std::string log = ReadWholeFile(LogPath), prefix = std::to_string(id) + " ";
        for (size_t at = 0; at < log.size();) {
            size_t end = log.find('\n', at);
            if (end == std::string::npos)
                end = log.size();
            if (log.compare(at, prefix.size(), prefix) == 0)
                texts.push_back(log.substr(at + prefix.size(), end - at - prefix.size()));
            at = end + 1;
        }
        return texts;
    }
};

// The choices of the typical run on the sample installation.
TypicalChoices SampleChoices(const std::string &desktop)
{
    TypicalChoices choices;
    choices.FoundSettingsFile = desktop + "\\vtmain.ini";
    choices.Plugins = {"Packer: 7z", "Lister: 0: imgview"};
    choices.SettingsFiles = {"imgview.ini"};
    return choices;
}

// The installer ended within the bounded wait, with exit code `expected`. Call through
// ASSERT_NO_FATAL_FAILURE.
void ExpectExit(InstallerDriver &driver, DWORD expected)
{
    DWORD code = 99;
    ASSERT_TRUE(driver.WaitForExit(&code)) << driver.Failure();
    EXPECT_EQ(expected, code);
}

class EndToEnd : public ::testing::Test {
protected:
    std::string Root, Desktop, DeviceRoot, AppData, DeviceExec, HostExec;
    TreeSnapshot DesktopBefore;
    std::string RegistryBefore;
    bool WindowsIniExisted = false, WindowsFtpIniExisted = false;

    void SetUp() override
    {
        Root = FreshTempDirectory("veltrano-e2e");
        Desktop = Root + "\\Veltrano";
        DeviceRoot = Root + "\\device";
        AppData = DeviceRoot + "\\System\\Apps\\Veltrano\\Data";
        DeviceExec = DeviceRoot + "\\System\\Apps\\Veltrano\\Exec";
        HostExec = Root + "\\host\\Veltrano\\Exec";
        MakeDirectories(AppData);
        MakeDirectories(DeviceExec);
        MakeDirectories(HostExec);
        std::string failure;
        ASSERT_TRUE(InstallSampleDesktop(Desktop, &failure)) << failure;
        WindowsIniExisted = Exists(WindowsFile("vtmain.ini"));
        WindowsFtpIniExisted = Exists(WindowsFile("vpx_ftp.ini"));
    }

    void TearDown() override
    {
        EXPECT_EQ(std::vector<std::string>(), RegistrationsNamingNoDeviceFile(AppData))
            << "registrations that name no file on the device";
        EXPECT_EQ(std::vector<std::string>(),
                  RegistrationsNotCopiedFromTheirSource(AppData, Desktop + "\\vtmain.ini", {}, Desktop))
            << "registrations whose file is not a copy of their own plugin";
        RemoveVeltranoKeys();
        RemoveTree(Root);
    }

    // Taken once the desktop is complete, just before the installer starts.
    void RememberDesktop()
    {
        DesktopBefore = SnapshotTree(Desktop);
        RegistryBefore = SnapshotVeltranoRegistry();
        ASSERT_FALSE(DesktopBefore.empty());
        ASSERT_NE(std::string::npos, RegistryBefore.find("HKLM InstallDir")) << RegistryBefore;
    }

    void ExpectDesktopUnchanged()
    {
        EXPECT_EQ("", TreeDifferences(DesktopBefore, SnapshotTree(Desktop))) << "the desktop installation changed";
        EXPECT_EQ(RegistryBefore, SnapshotVeltranoRegistry()) << "the registry values changed";
        EXPECT_EQ(WindowsIniExisted, Exists(WindowsFile("vtmain.ini"))) << "a settings file in the Windows directory";
        EXPECT_EQ(WindowsFtpIniExisted, Exists(WindowsFile("vpx_ftp.ini")));
    }

    std::string TextLog() const { return Root + "\\texts.log"; }

    // The U3 variables, and where text_hook.dll writes what it sees.
    std::vector<EnvironmentChange> U3Environment(const char *appData, const char *isUpgrade)
    {
        return {
            {"U3_APP_DATA_PATH", appData},
            {"U3_HOST_EXEC_PATH", HostExec.c_str()},
            {"U3_DEVICE_EXEC_PATH", DeviceExec.c_str()},
            {"U3_IS_UPGRADE", isUpgrade},
            {"VELTRANO_E2E_TEXT_LOG", TextLogPath.c_str()},
        };
    }

    void Start(InstallerDriver &driver, const char *appData, const char *isUpgrade, TextWatch *watch = NULL)
    {
        TextLogPath = TextLog();
        ASSERT_TRUE(driver.Start(ProgramBesideTest("stickinstall.exe"), U3Environment(appData, isUpgrade)))
            << driver.Failure();
        if (watch) {
            // Once the wizard is up, the thread surely has its message queue to hook.
            ASSERT_TRUE(driver.FindSheet()) << driver.Failure();
            ASSERT_TRUE(watch->Attach(driver.ThreadId())) << "cannot hook the installer's thread";
        }
    }
    std::string TextLogPath;

    // The device against a listing of tests/fixtures: every entry there, nothing else, each file
    // equal to its desktop source; the portable file compared key by key.
    void ExpectDevice(const std::string &listing, const std::vector<SettingsSection> &portable)
    {
        std::vector<DeviceEntry> expected = ReadDeviceListing(FixturesDirectory() + "\\" + listing);
        ASSERT_FALSE(expected.empty()) << "no listing " << listing;
        TreeSnapshot device = SnapshotTree(AppData);
        std::set<std::string> listed;
        for (const DeviceEntry &entry : expected) {
            bool directory = !entry.Path.empty() && entry.Path.back() == '\\';
            std::string path = directory ? entry.Path.substr(0, entry.Path.size() - 1) : entry.Path;
            listed.insert(path);
            auto found = device.find(path);
            if (found == device.end()) {
                ADD_FAILURE() << "missing on the device: " << entry.Path;
                continue;
            }
            EXPECT_EQ(directory, found->second.Directory) << path;
            if (entry.Source == "portable") {
                EXPECT_EQ("", SettingsDifferences(portable, ParseSettings(found->second.Contents)))
                    << "the portable settings file " << path << " reads:\n" << found->second.Contents;
            } else if (!directory) {
                EXPECT_EQ(ReadWholeFile(Desktop + "\\" + entry.Source), found->second.Contents)
                    << path << " is not a copy of " << entry.Source;
            }
        }
        for (const auto &entry : device)
            EXPECT_TRUE(listed.count(entry.first)) << "unexpected on the device: " << entry.first;
    }

    std::vector<SettingsSection> ExpectedPortable(const char *name)
    {
        std::string text = ReadWholeFile(FixturesDirectory() + "\\" + name);
        EXPECT_FALSE(text.empty()) << name;
        return ParseSettings(text);
    }

    DWORD AttributesOn(const std::string &relative)
    {
        return GetFileAttributesA((AppData + "\\" + relative).c_str());
    }
};

TEST_F(EndToEnd, TypicalRunLeavesAPortableInstallation)
{
    // Desktop files often carry attributes that must not travel to the device.
    ASSERT_TRUE(SetFileAttributesA((Desktop + "\\vtmain.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA((Desktop + "\\plugins\\packers\\multiarc\\multiarc.vpx").c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NO_FATAL_FAILURE(RememberDesktop());

    InstallerDriver driver;
    TextWatch texts(TextLog());
    ASSERT_NO_FATAL_FAILURE(Start(driver, AppData.c_str(), "false", &texts));
    std::vector<std::string> pluginRows, settingsFileRows;
    std::string summary;
    bool driven = DriveTypicalRun(driver, SampleChoices(Desktop), [&](int page) {
        if (page == IDD_PLUGINS)
            pluginRows = driver.RowTexts(IDC_PLUGIN_LIST);
        if (page == IDD_SETTINGS_FILES)
            settingsFileRows = driver.RowTexts(IDC_SETTINGS_FILE_LIST);
        if (page == IDD_SUMMARY)
            summary = driver.Text(IDC_SUMMARY_TEXT);
    });
    ASSERT_TRUE(driven) << driver.Failure();
    ASSERT_NO_FATAL_FAILURE(ExpectExit(driver, 0));

    const std::vector<std::string> plugins = {"Packer: 7z", "Packer: arj", "Lister: 0: imgview",
                                              "File System: Secure FTP", "Content: 0: exif"};
    EXPECT_EQ(plugins, pluginRows);
    EXPECT_EQ((std::set<std::string>{"imgview.ini", "sftpplug.ini"}),
              std::set<std::string>(settingsFileRows.begin(), settingsFileRows.end()));
    EXPECT_EQ("\n- Settings files:\n  " + Desktop + "\\vtmain.ini\n  " + Desktop +
                  "\\vpx_ftp.ini\n\n- 2 selected plugins\n\n- 1 selected settings files\n",
              summary);

    // What the run showed: each checked plugin, then the settings file; no closing note for English.
    EXPECT_EQ((std::vector<std::string>{"Packer: 7z", "Lister: 0: imgview", "imgview.ini"}),
              texts.TextsOf(IDC_STATUS_LINE));
    EXPECT_EQ(std::vector<std::string>{"Installation complete!"}, texts.TextsOf(IDC_FIRST_PLAIN_LABEL));

    ExpectDevice("typical-run\\device.txt", ExpectedPortable("typical-run\\vtmain.ini"));
    for (const char *replaced : {"vtmain.ini", "main.bar", "vpx_ftp.ini"})
        EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), AttributesOn(replaced)) << replaced;
    for (const char *plugin : {"Plugins\\vpx\\multiarc\\multiarc.vpx", "Plugins\\vlx\\imgview\\lang\\imgview.deu"}) {
        DWORD attributes = AttributesOn(plugin);
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << plugin;
        EXPECT_EQ(0u, attributes & UNWANTED_ATTRIBUTES) << plugin << " keeps attributes " << std::hex << attributes;
    }
    ExpectDesktopUnchanged();
}

TEST_F(EndToEnd, CancelDuringALongPluginCopyStopsTheRun)
{
    // Enough files that the copy of the first checked plugin is still going when Cancel arrives.
    const int MANY_FILES = 2500;
    std::string many = Desktop + "\\plugins\\packers\\multiarc\\formats\\many";
    for (int i = 0; i < MANY_FILES; ++i)
        ASSERT_TRUE(WriteTextFile(many + "\\format" + std::to_string(i) + ".cfg", "ID=" + std::to_string(i) + "\n"));
    ASSERT_NO_FATAL_FAILURE(RememberDesktop());

    InstallerDriver driver;
    TextWatch texts(TextLog());
    ASSERT_NO_FATAL_FAILURE(Start(driver, AppData.c_str(), NULL, &texts));
    ASSERT_TRUE(DriveToInstallation(driver, SampleChoices(Desktop), PageReady())) << driver.Failure();
    ASSERT_TRUE(driver.WaitForTemplate(IDD_PROGRESS)) << driver.Failure();
    // The status line is answered only while the copy lets messages through.
    ASSERT_TRUE(driver.WaitUntil([&] { return driver.Text(IDC_STATUS_LINE) == "Packer: 7z"; },
                                 "the status line to show the plugin being copied"))
        << driver.Failure();
    ASSERT_TRUE(driver.Press(SHEET_CANCEL)) << driver.Failure();
    ASSERT_NO_FATAL_FAILURE(ExpectExit(driver, 0));

    // The page showed the outcome just before the wizard closed; the run never reached the
    // second plugin or the settings file.
    EXPECT_EQ(std::vector<std::string>{"Installation of plugins aborted!"}, texts.TextsOf(IDC_FIRST_PLAIN_LABEL));
    EXPECT_EQ(std::vector<std::string>{"Packer: 7z"}, texts.TextsOf(IDC_STATUS_LINE));

    // On the device the copy stopped half-way and was not registered, the later plugin was never
    // copied, and the checked settings file, copied after the plugins unless the run was
    // aborted, is not there.
    TreeSnapshot device = SnapshotTree(AppData);
    int copied = 0;
    for (const auto &entry : device)
        copied += entry.first.rfind("Plugins\\vpx\\multiarc\\", 0) == 0 && !entry.second.Directory;
    EXPECT_TRUE(device.count("Plugins\\vpx\\multiarc")) << "the plugin's directory was created before the copy";
    EXPECT_LT(copied, MANY_FILES + 4) << "the copy ran to its end";
    EXPECT_FALSE(device.count("Plugins\\vlx")) << "the plugin after the cancelled one was copied";
    EXPECT_FALSE(device.count("imgview.ini")) << "the run went on to the settings files";

    // Settings, button bar and FTP file were written before the plugins; the rewrite and the
    // language step hold, and no plugin is registered.
    std::vector<SettingsSection> portable = ExpectedPortable("typical-run\\vtmain.ini");
    std::vector<SettingsSection> withoutPlugins;
    for (const SettingsSection &section : portable) {
        if (section.Name != "PackerPlugins" && section.Name != "ListerPlugins")
            withoutPlugins.push_back(section);
    }
    ASSERT_EQ(portable.size(), withoutPlugins.size() + 2);
    EXPECT_EQ("", SettingsDifferences(withoutPlugins, ParseSettings(ReadWholeFile(AppData + "\\vtmain.ini"))));
    EXPECT_EQ(ReadWholeFile(Desktop + "\\bars\\main.bar"), ReadWholeFile(AppData + "\\main.bar"));
    EXPECT_EQ(ReadWholeFile(Desktop + "\\vpx_ftp.ini"), ReadWholeFile(AppData + "\\vpx_ftp.ini"));
    ExpectDesktopUnchanged();
}

TEST_F(EndToEnd, MistypedSettingsPathHoldsThePageAndCancelWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(RememberDesktop());
    TreeSnapshot deviceBefore = SnapshotTree(DeviceRoot);
    const std::string mistyped = Desktop + "\\vtmian.ini";

    InstallerDriver driver;
    ASSERT_NO_FATAL_FAILURE(Start(driver, AppData.c_str(), NULL));
    ASSERT_TRUE(driver.FindSheet()) << driver.Failure();
    ASSERT_TRUE(driver.Press(SHEET_NEXT) && driver.WaitForTemplate(IDD_LANGUAGE)) << driver.Failure();
    ASSERT_TRUE(driver.Press(SHEET_NEXT) && driver.WaitForTemplate(IDD_SETTINGS_SOURCE)) << driver.Failure();
    ASSERT_TRUE(driver.Click(IDC_COPY_SETTINGS) && driver.Click(IDC_COPY_PLUGINS)) << driver.Failure();
    ASSERT_TRUE(driver.SetText(IDC_MAIN_INI_EDIT, mistyped)) << driver.Failure();
    ASSERT_TRUE(driver.Press(SHEET_NEXT)) << driver.Failure();

    // The box is captioned with the path the user typed.
    HWND box = driver.WaitForWindow(mistyped, STEP_HANG_GUARD_MS);
    ASSERT_TRUE(box != NULL) << driver.Failure();
    std::vector<std::string> texts = ChildTexts(box);
    EXPECT_TRUE(std::set<std::string>(texts.begin(), texts.end()).count("Specified settings file not found!"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(driver.WaitUntil([&] { return !IsWindow(box); }, "the box to close")) << driver.Failure();
    EXPECT_EQ(IDD_SETTINGS_SOURCE, driver.CurrentTemplate()) << "the wizard left the page";

    // Corrected, the path leads on; Cancel on the plugin page ends the program before any copy.
    ASSERT_TRUE(driver.SetText(IDC_MAIN_INI_EDIT, Desktop + "\\vtmain.ini")) << driver.Failure();
    ASSERT_TRUE(driver.Press(SHEET_NEXT) && driver.WaitForTemplate(IDD_PLUGINS)) << driver.Failure();
    ASSERT_TRUE(driver.CheckRowNamed(IDC_PLUGIN_LIST, "Packer: 7z")) << driver.Failure();
    ASSERT_TRUE(driver.Press(SHEET_CANCEL)) << driver.Failure();
    ASSERT_NO_FATAL_FAILURE(ExpectExit(driver, 0));

    EXPECT_EQ("", TreeDifferences(deviceBefore, SnapshotTree(DeviceRoot))) << "the device changed";
    ExpectDesktopUnchanged();
}

TEST_F(EndToEnd, StartWithoutAppDataPathIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(RememberDesktop());
    TreeSnapshot deviceBefore = SnapshotTree(DeviceRoot);

    InstallerDriver driver;
    ASSERT_NO_FATAL_FAILURE(Start(driver, NULL, NULL));
    HWND box = driver.WaitForWindow("Install Error");
    ASSERT_TRUE(box != NULL) << driver.Failure();
    std::vector<std::string> texts = ChildTexts(box);
    EXPECT_TRUE(std::set<std::string>(texts.begin(), texts.end())
                    .count("This program can only be run during an U3 USB stick install!"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_NO_FATAL_FAILURE(ExpectExit(driver, 1));

    EXPECT_EQ("", TreeDifferences(deviceBefore, SnapshotTree(DeviceRoot))) << "the device changed";
    ExpectDesktopUnchanged();
}

TEST_F(EndToEnd, UpgradeStartLeavesTheDeviceAlone)
{
    // What an earlier installation left on the device.
    ASSERT_TRUE(WriteTextFile(AppData + "\\vtmain.ini", "[Configuration]\r\nTabDir=%U3_APP_DATA_PATH%\r\n"));
    ASSERT_TRUE(WriteTextFile(AppData + "\\Plugins\\vpx\\multiarc\\multiarc.vpx", "an older multiarc\r\n"));
    ASSERT_NO_FATAL_FAILURE(RememberDesktop());
    TreeSnapshot deviceBefore = SnapshotTree(DeviceRoot);

    InstallerDriver driver;
    ASSERT_NO_FATAL_FAILURE(Start(driver, AppData.c_str(), "1"));
    size_t windowsSeen = 0;
    EXPECT_TRUE(driver.WaitUntil(
        [&] {
            windowsSeen += VisibleWindowsOf(driver.ProcessId()).size();
            return !driver.Running();
        },
        "the upgrade start to end", PROCESS_HANG_GUARD_MS))
        << driver.Failure();
    ASSERT_NO_FATAL_FAILURE(ExpectExit(driver, 0));
    EXPECT_EQ(0u, windowsSeen) << "a window was shown";

    EXPECT_EQ("", TreeDifferences(deviceBefore, SnapshotTree(DeviceRoot))) << "the device changed";
    ExpectDesktopUnchanged();
}

}  // namespace
