// What lands on the device is what the portable settings file says: each registration names its
// own plugin's file, copied whole from that plugin's source directory; a plugin that does not
// arrive is put to the user and not registered; nothing is written outside the device directory.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "hostile/hostile_fixture.h"
#include "hostile/small_drive.h"
#include "resources/resource.h"
#include "support/registrations.h"

using namespace engine_fixture;

namespace hostile {
namespace {

// Plugin files of one base name in different desktop directories, names differing only in case,
// and a plugin whose own base name is the one a second copy would take: each source gets a folder
// of its own, and the rows that share a source share its folder.
TEST_F(HostileTest, SameBaseNameFromDifferentDirectories)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                      "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n"
                      "zip=21,%VELTRANO_PATH%\\plugins\\arc2\\arc.vpx\r\n"
                      "big=%VELTRANO_PATH%\\plugins\\arc3\\ARC.vpx\r\n"
                      "two=%VELTRANO_PATH%\\plugins\\four\\arc_2.vpx\r\n"
                      "tar=21,%VELTRANO_PATH%\\plugins\\arc2\\arc.vpx\r\n"
                      "[ListerPlugins]\r\n"
                      "0=%VELTRANO_PATH%\\plugins\\arc3\\view.vlx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\arc2\\arc.vpx", "second arc"));
    desktop.Files.push_back(PluginFile("plugins\\arc3\\ARC.vpx", "third arc"));
    desktop.Files.push_back(PluginFile("plugins\\arc3\\view.vlx", "third view"));
    desktop.Files.push_back(PluginFile("plugins\\four\\arc_2.vpx", "fourth"));
    Prepare(desktop);

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    struct Expected {
        const char *Section, *Key, *Value, *Source;
    };
    const Expected expected[] = {
        {"PackerPlugins", "arc", "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx", "plugins\\arc\\arc.vpx"},
        {"PackerPlugins", "zip", "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\arc.vpx", "plugins\\arc2\\arc.vpx"},
        {"PackerPlugins", "big", "%U3_APP_DATA_PATH%\\Plugins\\vpx\\ARC_3\\ARC.vpx", "plugins\\arc3\\ARC.vpx"},
        {"PackerPlugins", "two", "%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2_2\\arc_2.vpx", "plugins\\four\\arc_2.vpx"},
        {"PackerPlugins", "tar", "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\arc.vpx", "plugins\\arc2\\arc.vpx"},
        {"ListerPlugins", "0", "%U3_APP_DATA_PATH%\\Plugins\\vpx\\ARC_3\\view.vlx", "plugins\\arc3\\view.vlx"},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.Key);
        std::string value = ProfileValue(Device + "\\vtmain.ini", e.Section, e.Key);
        EXPECT_EQ(e.Value, value);
        std::string onDevice, fromDesktop;
        EXPECT_TRUE(ReadFileBytes(RegisteredDeviceFile(Device, value), &onDevice)) << "no file for " << value;
        ASSERT_TRUE(ReadFileBytes(Files.DesktopDir + "\\" + e.Source, &fromDesktop));
        EXPECT_EQ(fromDesktop, onDevice) << "registered to another plugin's file";
    }
    EXPECT_FALSE(PathExists(Device + "\\Plugins\\vpx\\arc_2\\doc")) << "the first arc's files went into the second";
}

// What the user checks on the plugin page: the rows of these labels alone.
std::function<void(WizardDriver &, HWND)> CheckOnly(std::vector<std::string> labels)
{
    return [labels](WizardDriver &wizard, HWND list) {
        std::vector<ListedPluginRow> rows = ReadPluginRows(list);
        for (size_t row = 0; row < rows.size(); ++row) {
            bool wanted = std::find(labels.begin(), labels.end(), rows[row].Label) != labels.end();
            wizard.SetRowChecked(list, static_cast<int>(row), wanted);
        }
    };
}

// A second installation onto a device that holds the first one's plugin folders: a folder is
// used again only when it holds this plugin's own file, byte for byte; any other plugin's folder,
// or this plugin's from before its file changed, is passed over for the next free one.
struct SecondRunCase {
    const char *Name;
    const char *Checked;      // the one row checked in the second run
    const char *NewArcPlugin;  // when set, the desktop's first arc.vpx holds this by then
    const char *Key;
    const char *Value;
};

void PrintTo(const SecondRunCase &c, std::ostream *out)
{
    *out << c.Name;
}

class SecondRunOntoTheSameDevice : public HostileTest, public testing::WithParamInterface<SecondRunCase> {};

TEST_P(SecondRunOntoTheSameDevice, RegistersEachPluginToItsOwnCopy)
{
    const SecondRunCase &c = GetParam();
    const char ini[] = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                       "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n"
                       "zip=21,%VELTRANO_PATH%\\plugins\\arc2\\arc.vpx\r\n"
                       "[ListerPlugins]\r\n0=%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\arc2\\arc.vpx", "second arc"));
    Prepare(desktop);
    RunOutcome first = RunWizard(RunChoices());
    ASSERT_TRUE(first.Finished);
    ASSERT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\arc.vpx", ProfileValue(Device + "\\vtmain.ini", "PackerPlugins", "zip"));
    if (c.NewArcPlugin) {
        WriteFileBytes(Files.DesktopDir + "\\plugins\\arc\\arc.vpx", c.NewArcPlugin);
        TakeChecksums();
    }

    RunChoices choices;
    choices.OnPluginPage = CheckOnly({c.Checked});
    RunOutcome second = RunWizardAgain(choices);
    ASSERT_TRUE(second.Finished);
    EXPECT_EQ("Installation complete!", second.OutcomeText);
    EXPECT_TRUE(second.Boxes.empty());
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ(c.Value, ProfileValue(portable, "PackerPlugins", c.Key));
    std::string other = std::string(c.Key) == "arc" ? "zip" : "arc";
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", other.c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    HostileTest, SecondRunOntoTheSameDevice,
    testing::Values(
        SecondRunCase{"SecondPluginAlone", "Packer: zip", NULL, "zip",
                      "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\arc.vpx"},
        SecondRunCase{"FirstPluginAlone", "Packer: arc", NULL, "arc",
                      "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"},
        SecondRunCase{"FirstPluginChangedSince", "Packer: arc", "arc plugin, version 2", "arc",
                      "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_3\\arc.vpx"}),
    [](const testing::TestParamInfo<SecondRunCase> &info) { return std::string(info.param.Name); });

// A plugin file at a drive's root, or with no directory before it, has no directory of its own:
// the plugin page lists no row for it, so nothing measures the whole drive.
TEST_F(HostileTest, PluginAtADriveRootIsNotListed)
{
    std::string smallDirectory = FreshSmallDriveDirectory("hostile_root");
    ASSERT_FALSE(smallDirectory.empty());
    ExtraRoots.push_back(smallDirectory);
    ASSERT_TRUE(WriteFileBytes(smallDirectory + "\\other.bin", std::string(5000, 'o')));
    std::string drive = smallDirectory.substr(0, 2);
    std::string ini = std::string(STANDARD_INI) + "[FileSystemPlugins]\r\nroot=" + drive + "\\root.vfx\r\n" +
                      "bare=\\bare.vfx\r\nrelative=" + drive + "relative.vfx\r\n";
    Prepare(StandardDesktop(ini));

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    std::vector<std::string> labels;
    for (const ListedPluginRow &row : run.PluginRows)
        labels.push_back(row.Label);
    EXPECT_EQ((std::vector<std::string>{"Packer: arc", "Lister: 0: imgview"}), labels);
    EXPECT_EQ("2k", run.CheckedTotal) << "arc.vpx, its read-me and imgview.vlx";
    EXPECT_FALSE(PathExists(Device + "\\Plugins\\vfx"));
}

// The desktop file changed after the plugin page was filled: a checked row's value now names a
// plugin at a drive's root or with no directory. Its copy would take the whole drive, or the
// current directory: it is put to the user, named by its row, and not registered; the other
// plugins go on.
struct RootValueCase {
    const char *Name;
    const char *Value;  // "S:" stands for the small drive
    size_t Boxes;
};

void PrintTo(const RootValueCase &c, std::ostream *out)
{
    *out << c.Name;
}

class CheckedPluginNowAtADriveRoot : public HostileTest, public testing::WithParamInterface<RootValueCase> {};

TEST_P(CheckedPluginNowAtADriveRoot, IsNeitherCopiedNorRegistered)
{
    const RootValueCase &c = GetParam();
    std::string smallDirectory = FreshSmallDriveDirectory("hostile_root");
    ASSERT_FALSE(smallDirectory.empty());
    ExtraRoots.push_back(smallDirectory);
    ASSERT_TRUE(WriteFileBytes(smallDirectory + "\\other.bin", std::string(5000, 'o')));
    std::string value = c.Value;
    if (value.compare(3, 2, "S:") == 0)
        value.replace(3, 2, smallDirectory.substr(0, 2));
    Prepare(StandardDesktop(STANDARD_INI));

    RunChoices choices;
    choices.BoxAnswers.assign(c.Boxes, IDOK);
    choices.OnPluginPage = [&](WizardDriver &wizard, HWND) {
        wizard.Click(IDC_CHECK_ALL);
        std::string changed = STANDARD_INI;
        changed.replace(changed.find("21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx"),
                        lstrlenA("21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx"), value);
        WriteFileBytes(Files.MainIniPath, changed);
        TakeChecksums();
    };
    RunOutcome run = RunWizard(choices);
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_EQ(c.Boxes, run.Boxes.size());
    for (const DialogSeen &box : run.Boxes) {
        EXPECT_EQ("Error copying file!", box.Text);
        EXPECT_EQ("Packer: arc", box.Caption);
    }
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "arc"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx", ProfileValue(portable, "ListerPlugins", "0"));
    EXPECT_FALSE(PathExists(Device + "\\Plugins\\vpx")) << "something was copied for the plugin";
}

INSTANTIATE_TEST_SUITE_P(HostileTest, CheckedPluginNowAtADriveRoot,
                         testing::Values(RootValueCase{"DriveRoot", "21,S:\\arc.vpx", 1},
                                         RootValueCase{"NoDirectory", "21,\\arc.vpx", 1},
                                         RootValueCase{"DriveRelative", "21,S:arc.vpx", 0}),
                         [](const testing::TestParamInfo<RootValueCase> &info) { return std::string(info.param.Name); });

// Rows of one source directory whose copy did not arrive, on a drive that fills up or from a
// directory removed after the plugin page was filled: none is registered, each is put to the
// user, and OK goes on with the other plugins while Cancel stops them.
struct SharedDirectoryCase {
    const char *Name;
    bool SmallDrive;      // else the fat directory is removed once the page is filled
    int Answer;           // to every box
    size_t Boxes;
    const char *Text;
    const char *CaptionEnd;  // below the device directory
    bool ThinRegistered;
};

void PrintTo(const SharedDirectoryCase &c, std::ostream *out)
{
    *out << c.Name;
}

class SharedDirectoryThatDidNotArrive : public HostileTest,
                                        public testing::WithParamInterface<SharedDirectoryCase> {};

TEST_P(SharedDirectoryThatDidNotArrive, IsNeverRegistered)
{
    const SharedDirectoryCase &c = GetParam();
    const char ini[] = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                       "fat=%VELTRANO_PATH%\\plugins\\fat\\fat.vpx\r\n"
                       "fatter=%VELTRANO_PATH%\\plugins\\fat\\fat.vpx\r\n"
                       "thin=%VELTRANO_PATH%\\plugins\\thin\\thin.vpx\r\n";
    std::string device;
    if (c.SmallDrive) {
        device = FreshSmallDriveDirectory("hostile_shared");
        ASSERT_FALSE(device.empty());
        ExtraRoots.push_back(device);
    }
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\fat\\fat.vpx", std::string(1000, 'f')));
    desktop.Files.push_back(PluginFile("plugins\\fat\\big.bin", std::string(700 * 1024, 'b')));
    desktop.Files.push_back(PluginFile("plugins\\thin\\thin.vpx", std::string(1000, 't')));
    Prepare(desktop, device);

    RunChoices choices;
    choices.BoxAnswers.assign(c.Boxes, c.Answer);
    if (!c.SmallDrive) {
        choices.OnPluginPage = [&](WizardDriver &wizard, HWND) {
            wizard.Click(IDC_CHECK_ALL);
            RemoveTree(Files.DesktopDir + "\\plugins\\fat");
            TakeChecksums();
        };
    }
    RunOutcome run = RunWizard(choices);
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(c.Boxes, run.Boxes.size());
    for (const DialogSeen &box : run.Boxes) {
        EXPECT_EQ(c.Text, box.Text);
        EXPECT_EQ(Device + c.CaptionEnd, box.Caption);
    }
    EXPECT_EQ(c.ThinRegistered ? "Installation complete!" : "Installation of plugins aborted!", run.OutcomeText);
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "fat"));
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "fatter"));
    EXPECT_EQ(c.ThinRegistered ? "%U3_APP_DATA_PATH%\\Plugins\\vpx\\thin\\thin.vpx" : "<absent>",
              ProfileValue(portable, "PackerPlugins", "thin"));
    EXPECT_FALSE(PathExists(Device + "\\Plugins\\vpx\\fat\\big.bin")) << "a half-written copy stayed";
}

INSTANTIATE_TEST_SUITE_P(
    HostileTest, SharedDirectoryThatDidNotArrive,
    testing::Values(
        SharedDirectoryCase{"FullDriveOk", true, IDOK, 2, "Error copying file, Disk full!",
                            "\\Plugins\\vpx\\fat\\big.bin", true},
        SharedDirectoryCase{"FullDriveCancel", true, IDCANCEL, 1, "Error copying file, Disk full!",
                            "\\Plugins\\vpx\\fat\\big.bin", false},
        SharedDirectoryCase{"SourceRemovedOk", false, IDOK, 2, "Error copying file!", "\\Plugins\\vpx\\fat\\", true},
        SharedDirectoryCase{"SourceRemovedCancel", false, IDCANCEL, 1, "Error copying file!", "\\Plugins\\vpx\\fat\\",
                            false}),
    [](const testing::TestParamInfo<SharedDirectoryCase> &info) { return std::string(info.param.Name); });

// A value that fits before its references are expanded and not after: the plugin page lists it
// (it measures the directory alone), and the transfer puts it to the user instead of passing over
// it in silence.
TEST_F(HostileTest, PluginValueTooLongOnceExpanded)
{
    Prepare(StandardDesktop(""));
    std::string directory = Files.DesktopDir + "\\plugins\\";
    directory += std::string(240 - directory.size(), 'd');
    std::string fileName = std::string(26, 'n') + ".vpx";
    ASSERT_LE(15 + directory.size() - Files.DesktopDir.size() + 1 + fileName.size(), 259u)
        << "the value as written must fit";
    ASSERT_GT(directory.size() + 1 + fileName.size(), 259u);
    WriteFileBytes(directory + "\\small.vpx", "plugin beside");
    std::string ini = STANDARD_INI;
    ini += "[FileSystemPlugins]\r\nfar=%VELTRANO_PATH%" + directory.substr(Files.DesktopDir.size()) + "\\" + fileName +
           "\r\n";
    WriteFileBytes(Files.MainIniPath, ini);
    TakeChecksums();

    RunOutcome run = RunWizardAnswering({IDOK});
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ("Error copying file!", run.Boxes[0].Text);
    EXPECT_EQ("File System: far", run.Boxes[0].Caption);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    EXPECT_EQ("<absent>", ProfileValue(Device + "\\vtmain.ini", "FileSystemPlugins", "far"));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
              ProfileValue(Device + "\\vtmain.ini", "PackerPlugins", "arc"));
}

// Button bar settings. The name is the text after the last '\' or '/', both separators to the
// file system. A name that would not give a file of its own in the device's directory (a climb,
// a drive, a dropped trailing dot, a reserved device, or one of the installer's own files and
// directory) counts as no setting: the desktop's default.bar is copied, or, where there is none,
// the key names no file. Whatever the setting, the key names only a file that is on the device,
// and the main settings file, the FTP settings file and the plugin tree stay the installer's.
struct ButtonBarCase {
    const char *Name;
    const char *Setting;
    bool DefaultBarOnDesktop;
    const char *DeviceName;  // the key's file name and the device's copy; NULL: no key, no copy
    const char *Source;      // below the desktop: what the copy holds
};

void PrintTo(const ButtonBarCase &c, std::ostream *out)
{
    *out << c.Name;
}

class ButtonBarSettings : public HostileTest, public testing::WithParamInterface<ButtonBarCase> {};

TEST_P(ButtonBarSettings, NameOnlyAFileOnTheDevice)
{
    const ButtonBarCase &c = GetParam();
    std::string ini = STANDARD_INI;
    ini += std::string("[buttonbar]\r\nbuttonbar=") + c.Setting + "\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    for (const char *bar : {"evil.bar", "bars\\evil.bar", "bars\\my.bar", "bars\\vtmain.ini", "bars\\vpx_ftp.ini",
                            "bars\\Plugins"})
        desktop.Files.push_back(PluginFile(bar, std::string("[Buttonbar]\r\nButtoncount=1\r\nfrom=") + bar + "\r\n"));
    desktop.Files.push_back(PluginFile("plugins\\bars\\x.txt", "a directory to climb out of"));
    if (c.DefaultBarOnDesktop)
        desktop.Files.push_back(PluginFile("default.bar", "[Buttonbar]\r\nButtoncount=2\r\n"));
    Prepare(desktop);

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    std::string portable = Device + "\\vtmain.ini";
    std::string key = ProfileValue(portable, "Buttonbar", "Buttonbar");
    std::vector<std::string> expected = {"Plugins\\", "extra1.ini", "extra2.ini", "vpx_ftp.ini", "vtmain.ini"};
    if (c.DeviceName) {
        EXPECT_EQ(std::string("%U3_APP_DATA_PATH%\\") + c.DeviceName, key);
        std::string onDevice, onDesktop;
        EXPECT_TRUE(ReadFileBytes(Device + "\\" + c.DeviceName, &onDevice)) << "the key names no file";
        ASSERT_TRUE(ReadFileBytes(Files.DesktopDir + "\\" + c.Source, &onDesktop));
        EXPECT_EQ(onDesktop, onDevice);
        expected.push_back(c.DeviceName);
    } else {
        EXPECT_EQ("<absent>", key);
    }
    std::vector<std::string> top;
    for (const std::string &entry : ListTree(Device)) {
        size_t separator = entry.find('\\');
        if (separator == std::string::npos || separator + 1 == entry.size())
            top.push_back(entry);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, top);
    // The installer's own files hold what the installer put there.
    EXPECT_EQ("C:\\Veltrano", ProfileValue(portable, "Configuration", "InstallDir")) << "the desktop settings are lost";
    EXPECT_EQ("%U3_APP_DATA_PATH%", ProfileValue(portable, "configuration", "TabDir"));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx", ProfileValue(portable, "PackerPlugins", "arc"));
    std::string ftp;
    EXPECT_TRUE(ReadFileBytes(Device + "\\vpx_ftp.ini", &ftp));
    EXPECT_EQ("[connections]\r\n", ftp);
    EXPECT_TRUE(PathExists(Device + "\\Plugins\\vpx\\arc\\arc.vpx"));
    EXPECT_FALSE(PathExists(Files.Root + "\\evil.bar"));
}

INSTANTIATE_TEST_SUITE_P(
    HostileTest, ButtonBarSettings,
    testing::Values(
        ButtonBarCase{"ForwardSlashes", "%VELTRANO_PATH%/bars/my.bar", true, "my.bar", "bars\\my.bar"},
        ButtonBarCase{"ForwardSlashAfterBackslash", "%VELTRANO_PATH%\\bars/my.bar", false, "my.bar", "bars\\my.bar"},
        // Resolved by the file system before the copy: the name stays in the device's directory.
        ButtonBarCase{"SlashesClimbingOut", "%VELTRANO_PATH%\\plugins\\bars/../../evil.bar", true, "evil.bar",
                      "evil.bar"},
        ButtonBarCase{"ParentDirectory", "%VELTRANO_PATH%\\plugins\\..", true, "default.bar", "default.bar"},
        ButtonBarCase{"ParentDirectoryBySlash", "%VELTRANO_PATH%/plugins/..", true, "default.bar", "default.bar"},
        ButtonBarCase{"DriveRelative", "%VELTRANO_PATH%\\bars\\c:evil.bar", true, "default.bar", "default.bar"},
        ButtonBarCase{"TrailingDot", "%VELTRANO_PATH%\\bars\\evil.bar.", true, "default.bar", "default.bar"},
        ButtonBarCase{"MainSettingsName", "%VELTRANO_PATH%\\bars\\VTMAIN.INI", true, "default.bar", "default.bar"},
        ButtonBarCase{"FtpSettingsName", "%VELTRANO_PATH%/bars/Vpx_Ftp.ini", true, "default.bar", "default.bar"},
        ButtonBarCase{"PluginTreeName", "%VELTRANO_PATH%\\bars\\plugins", true, "default.bar", "default.bar"},
        ButtonBarCase{"NulDevice", "%VELTRANO_PATH%\\bars\\NUL.bar", true, "default.bar", "default.bar"},
        ButtonBarCase{"SerialPort", "%VELTRANO_PATH%\\bars\\com1.bar", true, "default.bar", "default.bar"},
        ButtonBarCase{"PrinterPortTwoDots", "%VELTRANO_PATH%\\bars\\Lpt9.my.bar", true, "default.bar",
                      "default.bar"},
        ButtonBarCase{"AuxWithoutExtension", "%VELTRANO_PATH%/bars/aux", true, "default.bar", "default.bar"},
        ButtonBarCase{"ConsoleBeforeBlanks", "%VELTRANO_PATH%\\bars\\con  .bar", true, "default.bar", "default.bar"},
        ButtonBarCase{"RefusedWithoutDefault", "%VELTRANO_PATH%\\bars\\nul", false, NULL, NULL},
        ButtonBarCase{"OwnNameWithoutDefault", "%VELTRANO_PATH%\\bars\\vtmain.ini", false, NULL, NULL}),
    [](const testing::TestParamInfo<ButtonBarCase> &info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace hostile
