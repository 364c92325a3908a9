// The installation run against a desktop installation and a device directory on disk, through
// Wine's own profile functions and file system. The desktop installation is only ever read:
// every run compares a checksum of it taken before and after.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "base/install_state.h"
#include "base/language_table.h"
#include "engine/installation.h"
#include "lists/settings_file_rows.h"
#include "support/engine_fixture.h"
#include "support/install_state_fixture.h"
#include "support/recording_report.h"
#include "support/registry_snapshot.h"
#include "support/tree_checksum.h"
#include "support/trees.h"

using namespace engine_fixture;

namespace {

// No status shown: the progress page keeps its template's text.
const char NO_STATUS[] = "";
const char READY_NOTE[] = "You can now run Veltrano via the U3 Launchpad.";

// A desktop main settings file as the file manager leaves it: plugin sections, desktop paths,
// section names in mixed case, and keys the rewrite must leave alone.
const char REALISTIC_DESKTOP_INI[] =
    "[Configuration]\r\n"
    "InstallDir=C:\\Program Files\\Veltrano\r\n"
    "IconLib=C:\\Program Files\\Veltrano\\vticons.dll\r\n"
    "drivelib=C:\\Program Files\\Veltrano\\drives.dll\r\n"
    "Viewer=C:\\Tools\\view.exe\r\n"
    "editor=notepad.exe\r\n"
    "TabDir=C:\\Program Files\\Veltrano\\tabs\r\n"
    "ThumbsLocation=C:\\Users\\ann\\AppData\\Local\\Veltrano\\thumbs\r\n"
    "UseIniInProgramDir=7\r\n"
    "LanguageIni=C:\\Program Files\\Veltrano\\language\\vtmd_deu.lng\r\n"
    "Mainmenu=C:\\Program Files\\Veltrano\\language\\vtmd_deu.mnu\r\n"
    "ShowHiddenSystem=1\r\n"
    "viewer2=C:\\Tools\\view2.exe\r\n"
    "FirstTime=0\r\n"
    "\r\n"
    "[Layout]\r\n"
    "ButtonBar=1\r\n"
    "DriveBar1=1\r\n"
    "\r\n"
    "[lister]\r\n"
    "Maximized=1\r\n"
    "IViewPath=C:\\Program Files\\IrfanView\\i_view32.exe\r\n"
    "IViewPathOld=C:\\old\\i_view32.exe\r\n"
    "\r\n"
    "[PackerPlugins]\r\n"
    "rar=1000,%VELTRANO_PATH%\\plugins\\vpx\\rar\\rar.vpx\r\n"
    "7z=1234,c:\\plugins\\vpx\\7z\\7z.vpx\r\n"
    "\r\n"
    "[listerplugins]\r\n"
    "0=%VELTRANO_PATH%\\plugins\\vlx\\imagine\\imagine.vlx\r\n"
    "0_detect=\"EXT=\"JPG\" | EXT=\"PNG\"\"\r\n"
    "\r\n"
    "[FILESYSTEMPLUGINS]\r\n"
    "Registry=c:\\plugins\\vfx\\registry\\registry.vfx\r\n"
    "\r\n"
    "[ContentPlugins]\r\n"
    "0=c:\\plugins\\vdx\\exif\\exif.vdx\r\n"
    "0_detect=EXT=\"JPG\"\r\n"
    "\r\n"
    "[ButtonBar]\r\n"
    "ButtonBar=vtmain.bar\r\n"
    "Buttoncount=20\r\n"
    "\r\n"
    "[Colors]\r\n"
    "InverseCursor=1\r\n"
    "\r\n"
    "[left]\r\n"
    "path=c:\\\r\n"
    "ShowAllDetails=1\r\n"
    "\r\n"
    "[right]\r\n"
    "path=d:\\data\\\r\n";

// What the device's file must hold afterwards: plugin sections gone (no plugin transfer),
// desktop keys removed, portable keys written. A key that is written anew goes to the end of
// its section; a key that exists keeps its place and its spelling.
const IniFile EXPECTED_PORTABLE_INI = {
    {"Configuration",
     {"InstallDir=C:\\Program Files\\Veltrano", "ThumbsLocation=%U3_HOST_EXEC_PATH%\\", "ShowHiddenSystem=1",
      "viewer2=C:\\Tools\\view2.exe", "FirstTime=0", "TabDir=%U3_APP_DATA_PATH%",
      "pluginbasedir=%U3_APP_DATA_PATH%\\Plugins", "TreeFileLocation=%U3_HOST_EXEC_PATH%\\treeinfo%D%.vt"}},
    {"Layout", {"ButtonBar=1", "DriveBar1=1"}},
    {"lister", {"Maximized=1", "IViewPathOld=C:\\old\\i_view32.exe"}},
    {"ButtonBar", {"ButtonBar=%U3_APP_DATA_PATH%\\vtmain.bar", "Buttoncount=20"}},
    {"Colors", {"InverseCursor=1"}},
    {"left", {"path=c:\\", "ShowAllDetails=1"}},
    {"right", {"path=d:\\data\\"}},
};

const char SIMPLE_DESKTOP_INI[] =
    "[Configuration]\r\n"
    "InstallDir=C:\\Veltrano\r\n"
    "FirstTime=0\r\n";

std::string Describe(const std::vector<std::string> &names)
{
    std::string all;
    for (const std::string &name : names)
        all += name + " ";
    return all;
}

class InstallationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof(current), current);
        savedCurrentDir_ = current;
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(savedCurrentDir_.c_str());
        SetEnvironmentVariableA("VELTRANO_PATH", NULL);
        ClearSettingsFileRows();
        if (!fixture_.Root.empty())
            RemoveTree(fixture_.Root);
        fixture_ = Fixture();
    }

    // Builds the fixture and points the install state at it: settings on, plugins off, English.
    void Prepare(const DesktopDescription &description)
    {
        fixture_ = BuildFixture(description);
        ASSERT_FALSE(fixture_.Root.empty()) << "no temporary directory";
        InstallState = InstallStateRecord();
        InstallState.Instance = GetModuleHandleA(NULL);
        PointInstallStateAt(fixture_.DesktopDir, fixture_.DeviceDir);
        InstallState.CopySettings = 1;
        InstallState.CopyPlugins = 0;
        InstallState.LanguageIndex = LANGUAGE_ENGLISH;
        // The run must make the desktop directory current itself.
        SetCurrentDirectoryA(fixture_.Root.c_str());
    }

    // The device's application-data directory and the portable file in it, as start-up sets them.
    void UseDeviceDir(const std::string &dir)
    {
        fixture_.DeviceDir = dir;
        PointInstallStateAt(fixture_.DesktopDir, dir);
    }

    // The settings-files rows as the page would leave them, in order.
    void SetCheckedFiles(const std::vector<ListRow> &rows)
    {
        ClearSettingsFileRows();
        for (const ListRow &row : rows) {
            SettingsFileRow *record = AppendSettingsFileRow();
            ASSERT_TRUE(record != NULL) << "no memory for a row";
            lstrcpynA(record->Name, row.Name, COUNTOF(record->Name));
            record->Checked = row.Checked;
        }
    }

    // Runs the installation and fails on any change to the desktop installation.
    void Run()
    {
        std::string before = TreeChecksum(fixture_.DesktopDir) + SnapshotVeltranoRegistry();
        RunInstallation(recording_.Report());
        EXPECT_EQ(before, TreeChecksum(fixture_.DesktopDir) + SnapshotVeltranoRegistry())
            << "the desktop installation changed";
    }

    std::string TargetIni() const { return fixture_.DeviceDir + "\\vtmain.ini"; }
    std::string Device(const std::string &name) const { return fixture_.DeviceDir + "\\" + name; }
    std::string Desktop(const std::string &name) const { return fixture_.DesktopDir + "\\" + name; }
    std::string Status() const { return recording_.LastStatus(); }
    // Every progress value the run reported, in order.
    std::vector<int> Progress() const { return recording_.Progress; }

    void ExpectDeviceIni(const IniFile &expected)
    {
        IniFile actual;
        ASSERT_TRUE(ReadIniFile(TargetIni(), &actual)) << TargetIni() << " missing";
        EXPECT_EQ(FormatIni(expected), FormatIni(actual));
    }

    // The device file holds exactly the desktop file's bytes.
    void ExpectSameBytes(const std::string &desktopPath, const std::string &devicePath)
    {
        std::string desktop, device;
        ASSERT_TRUE(ReadFileBytes(desktopPath, &desktop)) << desktopPath;
        ASSERT_TRUE(ReadFileBytes(devicePath, &device)) << devicePath << " not copied";
        EXPECT_EQ(desktop, device) << devicePath;
    }

    void ExpectDeviceFiles(std::vector<std::string> expected)
    {
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Describe(expected), Describe(ListDirectory(fixture_.DeviceDir)));
    }

    Fixture fixture_;
    RecordingReport recording_;
    std::string savedCurrentDir_;
};

TEST_F(InstallationTest, PortableRewriteOfARealisticDesktopFile)
{
    DesktopDescription desktop;
    desktop.MainIni = REALISTIC_DESKTOP_INI;
    desktop.ButtonBarPath = "vtmain.bar";
    desktop.ButtonBarContent = "[Buttonbar]\r\nButtoncount=20\r\n";
    desktop.HasFtpIni = true;
    desktop.FtpIni = "[connections]\r\n1=ftp.example.org\r\n";
    Prepare(desktop);
    Run();

    ExpectDeviceIni(EXPECTED_PORTABLE_INI);
    ExpectDeviceFiles({"vpx_ftp.ini", "vtmain.bar", "vtmain.ini"});
    ExpectSameBytes(Desktop("vtmain.bar"), Device("vtmain.bar"));
    ExpectSameBytes(fixture_.FtpIniPath, Device("vpx_ftp.ini"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\vtmain.bar", ProfileValue(TargetIni(), "Buttonbar", "Buttonbar"));
    // English and nothing else to show: the status line keeps the template's text.
    EXPECT_EQ(NO_STATUS, Status());
    EXPECT_EQ(0, InstallState.AbortRequested);
}

class ReplacedFiles : public InstallationTest, public testing::WithParamInterface<bool> {};

TEST_P(ReplacedFiles, ArriveWithTheArchiveAttributeAlone)
{
    bool deviceHasOldCopies = GetParam();
    DesktopDescription desktop;
    desktop.MainIni = SIMPLE_DESKTOP_INI;
    desktop.MainIniAttributes = FILE_ATTRIBUTE_READONLY;
    desktop.Files = {{"default.bar", "bar from the desktop", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
                     {"vpx_ftp.ini", "[ftp]\r\nfrom=desktop\r\n", FILE_ATTRIBUTE_READONLY}};
    Prepare(desktop);
    if (deviceHasOldCopies) {
        WriteFileBytes(TargetIni(), "[Configuration]\r\nStale=1\r\n", FILE_ATTRIBUTE_HIDDEN);
        WriteFileBytes(Device("default.bar"), "stale bar", FILE_ATTRIBUTE_HIDDEN);
        WriteFileBytes(Device("vpx_ftp.ini"), "[ftp]\r\nfrom=device\r\n");
    }
    Run();

    for (const char *name : {"vtmain.ini", "default.bar", "vpx_ftp.ini"})
        EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA(Device(name).c_str())) << name;
    ExpectSameBytes(Desktop("default.bar"), Device("default.bar"));
    ExpectSameBytes(fixture_.FtpIniPath, Device("vpx_ftp.ini"));
    EXPECT_EQ("<absent>", ProfileValue(TargetIni(), "Configuration", "Stale"));
    EXPECT_EQ("C:\\Veltrano", ProfileValue(TargetIni(), "Configuration", "InstallDir"));
    EXPECT_EQ("%U3_APP_DATA_PATH%", ProfileValue(TargetIni(), "Configuration", "TabDir"));
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, ReplacedFiles, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "OldCopiesOnTheDevice" : "EmptyDevice");
                         });

// A setting that names a directory copies no directory and leaves every directory's attributes;
// it counts as no setting, so the default bar file arrives.
struct NamedSetting {
    const char *Name;
    const char *Setting;
};

void PrintTo(const NamedSetting &c, std::ostream *out)
{
    *out << c.Name;
}

class ButtonBarSettingNamingNoFile : public InstallationTest, public testing::WithParamInterface<NamedSetting> {};

TEST_P(ButtonBarSettingNamingNoFile, CopiesNothing)
{
    DesktopDescription desktop;
    desktop.MainIni = std::string(SIMPLE_DESKTOP_INI) + "[buttonbar]\r\nbuttonbar=" + GetParam().Setting + "\r\n";
    desktop.Files = {{"bars\\my.bar", "bar"}, {"default.bar", "default bar"}};
    Prepare(desktop);
    // The device's directory and its parent are hidden, as U3 data directories may be.
    ASSERT_TRUE(SetFileAttributesA(fixture_.DeviceDir.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(fixture_.Root.c_str(), FILE_ATTRIBUTE_HIDDEN));
    DWORD deviceBefore = GetFileAttributesA(fixture_.DeviceDir.c_str());
    DWORD rootBefore = GetFileAttributesA(fixture_.Root.c_str());
    Run();
    EXPECT_EQ(deviceBefore, GetFileAttributesA(fixture_.DeviceDir.c_str()));
    EXPECT_EQ(rootBefore, GetFileAttributesA(fixture_.Root.c_str()));
    ExpectDeviceFiles({"default.bar", "vtmain.ini"});
    EXPECT_EQ("%U3_APP_DATA_PATH%\\default.bar", ProfileValue(TargetIni(), "Buttonbar", "Buttonbar"));
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, ButtonBarSettingNamingNoFile,
                         testing::Values(NamedSetting{"TrailingBackslash", "bars\\"},
                                         NamedSetting{"ParentOfADirectory", "bars\\.."}, NamedSetting{"Empty", ""}),
                         [](const testing::TestParamInfo<NamedSetting> &info) { return std::string(info.param.Name); });

struct ButtonBarCase {
    const char *Name;
    const char *Setting;        // "[buttonbar] buttonbar" line of the desktop file; NULL: none
    const char *ExpectedName;   // the name the portable key gives and the file on the device
    const char *ExpectedBytes;  // NULL: no button bar file arrives
};

void PrintTo(const ButtonBarCase &c, std::ostream *out)
{
    *out << c.Name;
}

class ButtonBarFile : public InstallationTest, public testing::WithParamInterface<ButtonBarCase> {};

TEST_P(ButtonBarFile, FollowsTheDesktopSetting)
{
    const ButtonBarCase &c = GetParam();
    DesktopDescription desktop;
    desktop.MainIni = SIMPLE_DESKTOP_INI;
    if (c.Setting)
        desktop.MainIni += std::string("[buttonbar]\r\nbuttonbar=") + c.Setting + "\r\n";
    desktop.Files = {{"default.bar", "root default"}, {"my.bar", "root my"}, {"bars\\my.bar", "bars my"}};
    Prepare(desktop);
    SetEnvironmentVariableA("VELTRANO_PATH", fixture_.DesktopDir.c_str());
    Run();

    EXPECT_EQ(std::string("%U3_APP_DATA_PATH%\\") + c.ExpectedName, ProfileValue(TargetIni(), "Buttonbar", "Buttonbar"));
    std::string bytes;
    if (c.ExpectedBytes) {
        EXPECT_TRUE(ReadFileBytes(Device(c.ExpectedName), &bytes)) << "button bar file not copied";
        EXPECT_EQ(c.ExpectedBytes, bytes);
        ExpectDeviceFiles({c.ExpectedName, "vtmain.ini"});
    } else {
        ExpectDeviceFiles({"vtmain.ini"});
    }
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_EQ(0, lstrcmpiA(fixture_.DesktopDir.c_str(), current)) << "current directory " << current;
}

INSTANTIATE_TEST_SUITE_P(
    InstallationTest, ButtonBarFile,
    testing::Values(
        ButtonBarCase{"NoSetting", NULL, "default.bar", "root default"},
        ButtonBarCase{"BelowVeltranoPath", "%VELTRANO_PATH%\\bars\\my.bar", "my.bar", "bars my"},
        ButtonBarCase{"Relative", "bars\\my.bar", "my.bar", "bars my"},
        ButtonBarCase{"NameAlone", "my.bar", "my.bar", "root my"},
        ButtonBarCase{"Quoted", "\"bars\\my.bar\"", "my.bar", "bars my"},
        ButtonBarCase{"Missing", "bars\\missing.bar", "missing.bar", NULL},
        // '/' splits the setting as '\\' does; names that are no plain file name of the device's
        // directory count as no setting: the default bar file.
        ButtonBarCase{"ForwardSlashes", "%VELTRANO_PATH%/bars/my.bar", "my.bar", "bars my"},
        ButtonBarCase{"SlashesClimbingOut", "%VELTRANO_PATH%\\bars/../my.bar", "my.bar", "root my"},
        ButtonBarCase{"DriveRelativeName", "%VELTRANO_PATH%\\c:my.bar", "default.bar", "root default"},
        ButtonBarCase{"DirectoryAlone", "%VELTRANO_PATH%\\bars\\", "default.bar", "root default"},
        ButtonBarCase{"ReservedDevice", "%VELTRANO_PATH%\\bars\\Nul.bar", "default.bar", "root default"}),
    [](const testing::TestParamInfo<ButtonBarCase> &info) { return std::string(info.param.Name); });

struct FtpCase {
    const char *Name;
    const char *SourceName;  // below the desktop directory
    bool IsFolder;
    bool DeviceHasOldCopy;
    const char *ExpectedDeviceBytes;  // NULL: no vpx_ftp.ini on the device
};

void PrintTo(const FtpCase &c, std::ostream *out)
{
    *out << c.Name;
}

class FtpSettingsFile : public InstallationTest, public testing::WithParamInterface<FtpCase> {};

TEST_P(FtpSettingsFile, CopiedOnlyWhenItIsAFile)
{
    const FtpCase &c = GetParam();
    DesktopDescription desktop;
    desktop.MainIni = SIMPLE_DESKTOP_INI;
    if (c.IsFolder)
        desktop.Files = {{std::string(c.SourceName) + "\\inside.txt", "x"}};
    else if (lstrcmpA(c.SourceName, "gone.ini") != 0)
        desktop.Files = {{c.SourceName, "desktop ftp"}};
    Prepare(desktop);
    lstrcpynA(InstallState.SourceFtpIniPath, Desktop(c.SourceName).c_str(), PATH_BUFFER_SIZE);
    if (c.DeviceHasOldCopy)
        WriteFileBytes(Device("vpx_ftp.ini"), "device ftp");
    Run();

    std::string bytes;
    if (c.ExpectedDeviceBytes) {
        EXPECT_TRUE(ReadFileBytes(Device("vpx_ftp.ini"), &bytes));
        EXPECT_EQ(c.ExpectedDeviceBytes, bytes);
        ExpectDeviceFiles({"vpx_ftp.ini", "vtmain.ini"});
    } else {
        ExpectDeviceFiles({"vtmain.ini"});
    }
    // The rewrite goes on regardless.
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins", ProfileValue(TargetIni(), "configuration", "pluginbasedir"));
}

INSTANTIATE_TEST_SUITE_P(
    InstallationTest, FtpSettingsFile,
    testing::Values(FtpCase{"Found", "vpx_ftp.ini", false, false, "desktop ftp"},
                    FtpCase{"OtherName", "connections.ini", false, false, "desktop ftp"},
                    FtpCase{"ReplacesTheDevices", "vpx_ftp.ini", false, true, "desktop ftp"},
                    FtpCase{"Missing", "gone.ini", false, false, NULL},
                    FtpCase{"MissingDeviceKeepsItsOwn", "gone.ini", false, true, "device ftp"},
                    FtpCase{"AFolder", "ftpfolder", true, false, NULL}),
    [](const testing::TestParamInfo<FtpCase> &info) { return std::string(info.param.Name); });

// Plugins off, or on with the plugin page never shown: either way the plugin sections stay
// absent and the checked extra settings files are copied.
class CheckedExtraSettingsFiles : public InstallationTest, public testing::WithParamInterface<int> {};

TEST_P(CheckedExtraSettingsFiles, AreCopiedWithoutReplacing)
{
    int copyPlugins = GetParam();
    DesktopDescription desktop;
    desktop.MainIni = REALISTIC_DESKTOP_INI;
    desktop.Files = {{"vtmain.bar", "bar"},
                     {"wcx_ftp.ini", "[ftp plugin]\r\n"},
                     {"unchecked.ini", "[not wanted]\r\n"},
                     {"lsplugin.ini", "[desktop lister]\r\n"}};
    Prepare(desktop);
    InstallState.CopyPlugins = copyPlugins;
    const std::string deviceOwn = "[device's own lister settings]\r\n";
    WriteFileBytes(Device("lsplugin.ini"), deviceOwn, FILE_ATTRIBUTE_HIDDEN);
    DWORD deviceOwnAttributes = GetFileAttributesA(Device("lsplugin.ini").c_str());
    SetCheckedFiles({{"wcx_ftp.ini", true}, {"unchecked.ini", false}, {"gone.ini", true}, {"lsplugin.ini", true}});
    Run();

    ExpectSameBytes(Desktop("wcx_ftp.ini"), Device("wcx_ftp.ini"));
    std::string kept;
    EXPECT_TRUE(ReadFileBytes(Device("lsplugin.ini"), &kept));
    EXPECT_EQ(deviceOwn, kept) << "a settings file already on the device was replaced";
    EXPECT_EQ(deviceOwnAttributes, GetFileAttributesA(Device("lsplugin.ini").c_str()));
    ExpectDeviceFiles({"lsplugin.ini", "vtmain.bar", "vtmain.ini", "wcx_ftp.ini"});
    ExpectDeviceIni(EXPECTED_PORTABLE_INI);
    // English: the status line keeps the last file name it showed.
    EXPECT_EQ("lsplugin.ini", Status());
    EXPECT_EQ(std::vector<int>{100}, Progress());
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, CheckedExtraSettingsFiles, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int> &info) {
                             return std::string(info.param ? "PluginsOnPageNeverShown" : "PluginsOff");
                         });

class NoExtraSettingsFileChecked : public InstallationTest, public testing::WithParamInterface<bool> {};

TEST_P(NoExtraSettingsFileChecked, CopiesNoneOfThem)
{
    bool listShown = GetParam();
    DesktopDescription desktop;
    desktop.MainIni = SIMPLE_DESKTOP_INI;
    desktop.Files = {{"default.bar", "bar"}, {"a.ini", "[a]\r\n"}, {"b.ini", "[b]\r\n"}};
    Prepare(desktop);
    if (listShown)
        SetCheckedFiles({{"a.ini", false}, {"b.ini", false}});
    Run();
    ExpectDeviceFiles({"default.bar", "vtmain.ini"});
    EXPECT_EQ(NO_STATUS, Status());
    EXPECT_TRUE(Progress().empty()) << "no file step, no progress";
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, NoExtraSettingsFileChecked, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "ListShownNothingChecked" : "ListNeverShown");
                         });

TEST_F(InstallationTest, AbortRequestedStopsTheExtraSettingsFiles)
{
    DesktopDescription desktop;
    desktop.MainIni = SIMPLE_DESKTOP_INI;
    desktop.Files = {{"default.bar", "bar"}, {"a.ini", "[a]\r\n"}};
    Prepare(desktop);
    SetCheckedFiles({{"a.ini", true}});
    std::string before = TreeChecksum(fixture_.DesktopDir);

    InstallState.AbortRequested = 1;
    CopyExtraSettingsFiles(recording_.Report());
    ExpectDeviceFiles({});
    EXPECT_EQ(NO_STATUS, Status());
    EXPECT_TRUE(Progress().empty()) << "an aborted run does not reach 100";
    EXPECT_EQ(1, InstallState.AbortRequested);
    EXPECT_EQ(before, TreeChecksum(fixture_.DesktopDir));

    // A run starts afresh: the flag left from before is cleared and the file is copied.
    Run();
    EXPECT_EQ(0, InstallState.AbortRequested);
    ExpectSameBytes(Desktop("a.ini"), Device("a.ini"));
    EXPECT_EQ("a.ini", Status());
    EXPECT_EQ(std::vector<int>{100}, Progress());
}

struct LanguageCase {
    const char *Name;
    int Index;
    const char *ExpectedIni;   // NULL: key absent
    const char *ExpectedMenu;
    const char *ExpectedStatus;
};

const LanguageCase LANGUAGE_CASES[] = {
    {"English", LANGUAGE_ENGLISH, NULL, NULL, NO_STATUS},
    {"German", 1, "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng", "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.mnu",
     READY_NOTE},
    {"Czech", 9, "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_cz.lng", "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_cz.mnu",
     READY_NOTE},
    {"LastRow", LANGUAGE_COUNT - 1, "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_kor.lng",
     "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_kor.mnu", READY_NOTE},
    // Rows outside the table count as English instead of reading past it.
    {"RowPastTheTable", LANGUAGE_COUNT, NULL, NULL, NO_STATUS},
    {"RowBeforeTheTable", -1, NULL, NULL, NO_STATUS},
};

void PrintTo(const LanguageCase &c, std::ostream *out)
{
    *out << c.Name;
}

// CopySettings and the language row.
typedef std::tuple<int, LanguageCase> LanguageParameters;

class LanguageStep : public InstallationTest, public testing::WithParamInterface<LanguageParameters> {};

TEST_P(LanguageStep, WritesTheLanguageKeys)
{
    int copySettings = std::get<0>(GetParam());
    const LanguageCase &c = std::get<1>(GetParam());
    DesktopDescription desktop;
    desktop.MainIni = REALISTIC_DESKTOP_INI;
    desktop.Files = {{"vtmain.bar", "bar"}};
    Prepare(desktop);
    InstallState.CopySettings = copySettings;
    InstallState.LanguageIndex = c.Index;
    Run();

    EXPECT_EQ(c.ExpectedIni ? c.ExpectedIni : "<absent>", ProfileValue(TargetIni(), "Configuration", "LanguageIni"));
    EXPECT_EQ(c.ExpectedMenu ? c.ExpectedMenu : "<absent>", ProfileValue(TargetIni(), "Configuration", "Mainmenu"));
    EXPECT_EQ(c.ExpectedStatus, Status());
    IniFile written;
    ReadIniFile(TargetIni(), &written);
    if (copySettings) {
        // The desktop file has both language keys: they are rewritten in place,
        // after ThumbsLocation.
        IniFile expected = EXPECTED_PORTABLE_INI;
        if (c.ExpectedIni) {
            std::vector<std::string> &lines = expected[0].Lines;
            lines.insert(lines.begin() + 2, std::string("LanguageIni=") + c.ExpectedIni);
            lines.insert(lines.begin() + 3, std::string("Mainmenu=") + c.ExpectedMenu);
        }
        EXPECT_EQ(FormatIni(expected), FormatIni(written));
    } else if (c.ExpectedIni) {
        // Nothing copied: the profile functions create the file with the two keys alone.
        IniFile expected = {{"Configuration", {std::string("LanguageIni=") + c.ExpectedIni,
                                               std::string("Mainmenu=") + c.ExpectedMenu}}};
        EXPECT_EQ(FormatIni(expected), FormatIni(written));
        ExpectDeviceFiles({"vtmain.ini"});
    } else {
        // Only removals: whatever the profile functions leave holds no key at all.
        for (const IniSection &section : written)
            EXPECT_TRUE(section.Lines.empty()) << FormatIni(written);
        for (const std::string &name : ListDirectory(fixture_.DeviceDir))
            EXPECT_EQ("vtmain.ini", name);
    }
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, LanguageStep,
                         testing::Combine(testing::Values(0, 1), testing::ValuesIn(LANGUAGE_CASES)),
                         [](const testing::TestParamInfo<LanguageParameters> &info) {
                             return std::string(std::get<0>(info.param) ? "Settings" : "NoSettings") + "_" +
                                    std::get<1>(info.param).Name;
                         });

class WithoutSettings : public InstallationTest, public testing::WithParamInterface<int> {};

TEST_P(WithoutSettings, OnlyTheLanguageKeysChange)
{
    const std::string deviceIni =
        "[Configuration]\r\n"
        "TabDir=%U3_APP_DATA_PATH%\r\n"
        "LanguageIni=%U3_DEVICE_EXEC_PATH%\\language\\vtmd_fra.lng\r\n"
        "Mainmenu=%U3_DEVICE_EXEC_PATH%\\language\\vtmd_fra.mnu\r\n"
        "FirstTime=0\r\n"
        "[Buttonbar]\r\n"
        "Buttonbar=%U3_APP_DATA_PATH%\\my.bar\r\n";
    int language = GetParam();
    DesktopDescription desktop;
    desktop.MainIni = REALISTIC_DESKTOP_INI;
    desktop.HasFtpIni = true;
    desktop.FtpIni = "[ftp]\r\n";
    desktop.Files = {{"vtmain.bar", "bar"}, {"a.ini", "[a]\r\n"}};
    Prepare(desktop);
    WriteFileBytes(TargetIni(), deviceIni);
    WriteFileBytes(Device("my.bar"), "device bar");
    SetCheckedFiles({{"a.ini", true}});
    InstallState.CopySettings = 0;
    InstallState.LanguageIndex = language;
    Run();

    IniSection configuration = {"Configuration", {"TabDir=%U3_APP_DATA_PATH%", "FirstTime=0"}};
    if (language != LANGUAGE_ENGLISH) {
        configuration = {"Configuration",
                         {"TabDir=%U3_APP_DATA_PATH%", "LanguageIni=%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng",
                          "Mainmenu=%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.mnu", "FirstTime=0"}};
    }
    ExpectDeviceIni({configuration, {"Buttonbar", {"Buttonbar=%U3_APP_DATA_PATH%\\my.bar"}}});
    ExpectDeviceFiles({"my.bar", "vtmain.ini"});
    std::string bar;
    ReadFileBytes(Device("my.bar"), &bar);
    EXPECT_EQ("device bar", bar);
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, WithoutSettings, testing::Values(static_cast<int>(LANGUAGE_ENGLISH), 1),
                         [](const testing::TestParamInfo<int> &info) {
                             return std::string(info.param == LANGUAGE_ENGLISH ? "English" : "German");
                         });

// Directory names for `length` more characters of path: segments of at most 100 characters.
std::string NestedDirs(size_t length)
{
    std::string dirs;
    while (length > 100) {
        dirs += std::string(99, 'd') + "\\";
        length -= 100;
    }
    return dirs + std::string(length, 'd');
}

// Paths that would pass 259 characters are never cut to fit: a cut path may name another file.
TEST_F(InstallationTest, ComposedPathsTooLongAreNotCut)
{
    DesktopDescription desktop;
    desktop.MainIni = SIMPLE_DESKTOP_INI;
    desktop.HasFtpIni = true;
    desktop.FtpIni = "[ftp]\r\n";
    desktop.Files = {{"default.bar", "bar"}, {"a.ini", "[a]\r\n"}, {"lsplugin.ini", "[l]\r\n"}};
    // The device nested so that vtmain.ini ends at exactly 259 characters: it fits,
    // vpx_ftp.ini and default.bar (260 each) do not.
    Prepare(desktop);
    std::string deep = fixture_.Root + "\\" + NestedDirs(248 - fixture_.Root.size() - 1);
    MakeDirectories(deep);
    UseDeviceDir(deep);
    ASSERT_EQ(259, lstrlenA(InstallState.TargetIniPath));
    ASSERT_TRUE(PathExists(deep)) << "device directory of 248 characters not created";
    SetCheckedFiles({{"a.ini", true}, {"lsplugin.ini", true}});
    Run();

    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA(TargetIni().c_str()));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\default.bar", ProfileValue(TargetIni(), "Buttonbar", "Buttonbar"));
    // a.ini fits (254 characters); lsplugin.ini (261) and the two above would have been cut.
    ExpectDeviceFiles({"a.ini", "vtmain.ini"});
}

// Cut at 259 characters, read or once expanded, the settings below would name real.bar, a file
// that does exist; the whole setting does not fit, so it counts as no setting: the default bar.
class ButtonBarSettingTooLong : public InstallationTest, public testing::WithParamInterface<bool> {};

TEST_P(ButtonBarSettingTooLong, IsNotCut)
{
    bool expandsTooLong = GetParam();
    std::string setting = "%VELTRANO_PATH%\\real.barx";
    if (!expandsTooLong) {
        std::string dots;
        while (dots.size() + lstrlenA("real.bar") < 259)
            dots += ".\\";
        setting = dots.substr(0, 259 - 8) + "real.bar" + "x";
        ASSERT_EQ(260u, setting.size());
    }
    DesktopDescription desktop;
    desktop.MainIni = std::string(SIMPLE_DESKTOP_INI) + "[buttonbar]\r\nbuttonbar=" + setting + "\r\n";
    desktop.Files = {{"real.bar", "wrong bar"}, {"default.bar", "default bar"}};
    Prepare(desktop);
    if (expandsTooLong) {
        // VELTRANO_PATH + "\real.bar" is exactly 259 characters, so "x" falls off.
        std::string padded = fixture_.DesktopDir;
        while (padded.size() + 9 < 259)
            padded += padded.size() + 9 == 258 ? "\\" : "\\.";
        ASSERT_EQ(259u, padded.size() + 9);
        SetEnvironmentVariableA("VELTRANO_PATH", padded.c_str());
    }
    Run();
    ExpectDeviceFiles({"default.bar", "vtmain.ini"});
    std::string bar;
    ReadFileBytes(Device("default.bar"), &bar);
    EXPECT_EQ("default bar", bar);
    EXPECT_EQ("%U3_APP_DATA_PATH%\\default.bar", ProfileValue(TargetIni(), "Buttonbar", "Buttonbar"));
}

INSTANTIATE_TEST_SUITE_P(InstallationTest, ButtonBarSettingTooLong, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "ExpansionCut" : "ReadCut");
                         });

TEST_F(InstallationTest, LongButtonBarNameIsWrittenWhole)
{
    // 19 characters of "%U3_APP_DATA_PATH%\" and a 250-character name: more than a path buffer.
    std::string name = std::string(246, 'n') + ".bar";
    DesktopDescription desktop;
    desktop.MainIni = std::string(SIMPLE_DESKTOP_INI) + "[buttonbar]\r\nbuttonbar=bars\\" + name + "\r\n";
    Prepare(desktop);
    Run();
    EXPECT_EQ("%U3_APP_DATA_PATH%\\" + name, ProfileValue(TargetIni(), "Buttonbar", "Buttonbar"));
    ExpectDeviceFiles({"vtmain.ini"});
}

}  // namespace
