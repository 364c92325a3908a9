// Plugin transfer of the plugin rows, as the page fills them, into a device directory, through the
// real profile functions and file system.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "engine/plugin_transfer.h"
#include "pages/plugin_list.h"
#include "support/files.h"
#include "support/ini_files.h"
#include "support/install_state_fixture.h"
#include "support/recording_report.h"
#include "support/temp_directory.h"
#include "support/text.h"
#include "support/trees.h"

namespace {

typedef std::vector<std::string> Lines;


class PluginTransferTest : public ::testing::Test {
protected:
    std::string Root, Desktop, Device;
    // What the transfer showed and asked; copy failures are answered with OK unless a test
    // scripts otherwise.
    RecordingReport Recording;

    void SetUp() override
    {
        InstallState = InstallStateRecord();
        ClearPluginRows();
        InstallState.Instance = GetModuleHandleA(NULL);
        Root = FreshTempDirectory("plugin_transfer");
        Desktop = Root + "\\desktop";
        Device = Root + "\\device";
        MakeDirectories(Desktop);
        MakeDirectories(Device);
        ExportInstallVariables(Desktop, Device);
        PointInstallStateAt(Desktop, Device);
    }
    void TearDown() override
    {
        ClearPluginRows();
        ExportInstallVariables("", "");
        RemoveTree(Root);
    }

    void Settings(const std::string &text) { WriteTextFile(Desktop + "\\vtmain.ini", text); }
    void DesktopFile(const std::string &relative, const std::string &text = "plugin")
    {
        WriteTextFile(Desktop + "\\" + relative, text);
    }
    // The plugin rows as the page fills them from the desktop file; rows are checked by label.
    void OpenList(const std::vector<std::string> &checkedLabels)
    {
        FillPluginRows();
        for (const std::string &label : checkedLabels) {
            int found = -1;
            for (int row = 0; row < PluginRows.Count; ++row) {
                if (label == PluginRows.Rows[row].Label)
                    found = row;
            }
            ASSERT_GE(found, 0) << "no row " << label;
            PluginRows.Rows[found].Checked = TRUE;
        }
    }
    std::string CopiedTo(const std::string &label) const
    {
        for (int row = 0; row < PluginRows.Count; ++row) {
            if (label == PluginRows.Rows[row].Label)
                return PluginRows.Rows[row].DeviceFolder;
        }
        return "(no row)";
    }
    // A section of the portable file as "key=value" lines, through the profile functions.
    Lines PortableSection(const char *section) const
    {
        static char text[65536];
        DWORD length = GetPrivateProfileSectionA(section, text, COUNTOF(text), InstallState.TargetIniPath);
        Lines lines;
        for (const char *line = text; line < text + length && *line; line += lstrlenA(line) + 1)
            lines.push_back(line);
        return lines;
    }
    Lines DeviceFiles() const { return ListTree(Device + "\\Plugins"); }
    void Transfer() { TransferPlugins(Recording.Report()); }
    // Fresh rows and record for the next case of a table.
    void StartAfresh()
    {
        ClearPluginRows();
        Recording = RecordingReport();
    }
};


// A source file opened with no sharing while the transfer runs: its copy fails.
struct LockedFile {
    explicit LockedFile(const std::string &path)
        : Handle(CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL))
    {
    }
    ~LockedFile()
    {
        if (Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
    HANDLE Handle;
};

// One transfer: the desktop, the rows checked, the answers to the boxes, and what must result.
// "{device}" in an expected text stands for the device directory.
struct TransferCase {
    const char *Name;
    std::vector<std::pair<std::string, std::string>> Files;  // below the desktop: path, content
    const char *Locked = NULL;  // a desktop file held open without sharing during the transfer
    std::string Settings;
    Lines Checked;  // row labels
    const char *CancelOn = NULL;      // stop on the copy failure whose target ends so, go on after others
    std::optional<Lines> Failures;    // the copy failures that must have been reported, in order
    int AbortRequested = -1;          // -1: not looked at
    std::vector<std::pair<const char *, Lines>> Sections;  // of the portable file
    struct Copied {
        const char *Label;
        const char *Folder;  // the row's "copied to" column
        const char *Note;
    };
    std::vector<Copied> CopiedTo;
    std::optional<Lines> DeviceFiles;  // below Plugins
    const char *DeviceFilesNote = "";
    std::vector<std::pair<std::string, std::string>> DeviceContents;  // below the device: path, content
    Lines Absent;                      // below the device
    bool NothingBesideDesktopAndDevice = false;
};

void PrintTo(const TransferCase &c, std::ostream *out)
{
    *out << c.Name;
}

std::vector<TransferCase> TransferCases()
{
    std::vector<TransferCase> cases;
    {
        TransferCase c;
        c.Name = "SharedPackerDirectoryIsCopiedOnce";
        c.Files = {{"plugins\\arc\\arc.vpx", "plugin"}, {"plugins\\arc\\lang\\arc.lng", "plugin"},
                   {"plugins\\arc\\old.zip", "plugin"}};
        c.Settings = "[PackerPlugins]\n"
                     "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
                     "tar=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n";
        c.Checked = {"Packer: arc", "Packer: tar"};
        c.DeviceFiles = Lines{"vpx\\", "vpx\\arc\\", "vpx\\arc\\arc.vpx", "vpx\\arc\\lang\\", "vpx\\arc\\lang\\arc.lng"};
        c.Sections = {{"PackerPlugins",
                       {"arc=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                        "tar=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"}}};
        c.CopiedTo = {{"Packer: arc", "{device}\\Plugins\\vpx\\arc\\", ""},
                      {"Packer: tar", "{device}\\Plugins\\vpx\\arc\\", ""}};
        cases.push_back(c);
    }
    {
        TransferCase c;
        c.Name = "ListerKeysAreRenumberedWithTheirCompanion";
        c.Files = {{"plugins\\img\\imgview.vlx", "plugin"}, {"plugins\\txt\\text.vlx", "plugin"},
                   {"plugins\\wdx\\info.wdx", "plugin"}};
        c.Settings = "[ListerPlugins]\n"
                     "3=%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\n"
                     "3_detect=EXT=\"JPG\" | EXT=\"PNG\"\n"
                     "7=%VELTRANO_PATH%\\plugins\\txt\\text.vlx\n"
                     "7_detect=\n"
                     "[ContentPlugins]\n"
                     "5=%VELTRANO_PATH%\\plugins\\wdx\\info.wdx\n"
                     "5_detect=size>0\n";
        c.Checked = {"Lister: 3: imgview", "Lister: 7: text", "Content: 5: info"};
        c.Sections = {{"ListerPlugins",
                       {"0=%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx",
                        "0_detect=\"EXT=\"JPG\" | EXT=\"PNG\"\"",
                        "1=%U3_APP_DATA_PATH%\\Plugins\\vlx\\text\\text.vlx"}},
                      {"ContentPlugins",
                       {"0=%U3_APP_DATA_PATH%\\Plugins\\vdx\\info\\info.wdx", "0_detect=\"size>0\""}}};
        cases.push_back(c);
    }
    {
        TransferCase c;
        c.Name = "FlagsPrefixStaysForPackersOnly";
        c.Files = {{"plugins\\fs\\net.vfx", "plugin"}, {"plugins\\zip\\zip.vpx", "plugin"}};
        c.Settings = "[PackerPlugins]\n"
                     "zip=1234,%VELTRANO_PATH%\\plugins\\zip\\zip.vpx\n"
                     "[FileSystemPlugins]\n"
                     "Network=7,%VELTRANO_PATH%\\plugins\\fs\\net.vfx\n";
        c.Checked = {"Packer: zip", "File System: Network"};
        c.Sections = {{"PackerPlugins", {"zip=1234,%U3_APP_DATA_PATH%\\Plugins\\vpx\\zip\\zip.vpx"}},
                      {"FileSystemPlugins", {"Network=%U3_APP_DATA_PATH%\\Plugins\\vfx\\net\\net.vfx"}}};
        cases.push_back(c);
    }
    {
        TransferCase c;
        c.Name = "ListerReusesAPackerDirectory";
        c.Files = {{"plugins\\multi\\multi.vpx", "plugin"}, {"plugins\\multi\\multi.vlx", "plugin"},
                   {"plugins\\multi\\second.vpx", "plugin"}};
        c.Settings = "[PackerPlugins]\n"
                     "multi=%VELTRANO_PATH%\\plugins\\multi\\multi.vpx\n"
                     "second=%VELTRANO_PATH%\\PLUGINS\\Multi\\second.vpx\n"
                     "[ListerPlugins]\n"
                     "0=%VELTRANO_PATH%\\plugins\\multi\\multi.vlx\n";
        c.Checked = {"Packer: multi", "Packer: second", "Lister: 0: multi"};
        c.DeviceFiles = Lines{"vpx\\", "vpx\\multi\\", "vpx\\multi\\multi.vlx", "vpx\\multi\\multi.vpx",
                              "vpx\\multi\\second.vpx"};
        c.DeviceFilesNote = "no second directory is made";
        c.Sections = {{"PackerPlugins",
                       {"multi=%U3_APP_DATA_PATH%\\Plugins\\vpx\\multi\\multi.vpx",
                        "second=%U3_APP_DATA_PATH%\\Plugins\\vpx\\multi\\second.vpx"}},
                      {"ListerPlugins", {"0=%U3_APP_DATA_PATH%\\Plugins\\vpx\\multi\\multi.vlx"}}};
        cases.push_back(c);
    }
    {
        TransferCase c;
        c.Name = "FailedCopyUsesNoNumber";
        c.Files = {{"plugins\\bad\\bad.vlx", "plugin"}, {"plugins\\good\\good.vlx", "plugin"}};
        c.Locked = "plugins\\bad\\bad.vlx";
        c.Settings = "[ListerPlugins]\n"
                     "1=%VELTRANO_PATH%\\plugins\\bad\\bad.vlx\n"
                     "2=%VELTRANO_PATH%\\plugins\\good\\good.vlx\n";
        c.Checked = {"Lister: 1: bad", "Lister: 2: good"};
        c.Sections = {{"ListerPlugins", {"0=%U3_APP_DATA_PATH%\\Plugins\\vlx\\good\\good.vlx"}}};
        c.AbortRequested = 0;
        c.CopiedTo = {{"Lister: 1: bad", "{device}\\Plugins\\vlx\\bad\\", "written before the copy"}};
        cases.push_back(c);
    }
    {
        TransferCase c;
        c.Name = "CancelledCopyStopsTheRest";
        c.Files = {{"plugins\\a\\a.vpx", "plugin"}, {"plugins\\b\\b.vpx", "plugin"}, {"plugins\\c\\c.vpx", "plugin"}};
        c.Locked = "plugins\\b\\b.vpx";
        c.Settings = "[PackerPlugins]\n"
                     "a=%VELTRANO_PATH%\\plugins\\a\\a.vpx\n"
                     "b=%VELTRANO_PATH%\\plugins\\b\\b.vpx\n"
                     "c=%VELTRANO_PATH%\\plugins\\c\\c.vpx\n";
        c.Checked = {"Packer: a", "Packer: b", "Packer: c"};
        c.CancelOn = "b.vpx";
        c.Failures = Lines{"{device}\\Plugins\\vpx\\b\\b.vpx"};
        c.AbortRequested = 1;
        c.Sections = {{"PackerPlugins", {"a=%U3_APP_DATA_PATH%\\Plugins\\vpx\\a\\a.vpx"}}};
        c.CopiedTo = {{"Packer: c", "", ""}};
        c.Absent = {"Plugins\\vpx\\c"};
        cases.push_back(c);
    }
    {
        TransferCase c;
        c.Name = "UnsafePluginNamesAreSkipped";
        c.Files = {{"plugins\\evil\\evil.vpx", "plugin"}, {"plugins\\shared\\good.vpx", "plugin"}};
        c.Settings = "[PackerPlugins]\n"
                     "climb=%VELTRANO_PATH%\\plugins\\evil\\../../../x.vpx\n"
                     "drive=%VELTRANO_PATH%\\plugins\\evil\\c:x.vpx\n"
                     "nobase=%VELTRANO_PATH%\\plugins\\evil\\.vpx\n"
                     "dots=%VELTRANO_PATH%\\plugins\\shared\\...vpx\n"
                     "good=%VELTRANO_PATH%\\plugins\\shared\\good.vpx\n";
        c.Checked = {"Packer: climb", "Packer: drive", "Packer: nobase", "Packer: dots", "Packer: good"};
        // Each plugin left out is put to the user, named by its row; OK goes on with the next.
        c.Failures = Lines{"Packer: climb", "Packer: drive", "Packer: nobase", "Packer: dots"};
        c.AbortRequested = 0;
        // The nearest earlier row of the shared directory made no target: the row makes its own.
        c.DeviceFiles = Lines{"vpx\\", "vpx\\good\\", "vpx\\good\\good.vpx"};
        c.Sections = {{"PackerPlugins", {"good=%U3_APP_DATA_PATH%\\Plugins\\vpx\\good\\good.vpx"}}};
        c.CopiedTo = {{"Packer: climb", "", ""}, {"Packer: drive", "", ""}, {"Packer: nobase", "", ""},
                      {"Packer: dots", "", ""}};
        c.NothingBesideDesktopAndDevice = true;
        cases.push_back(c);
    }
    {
        // A directory that arrived whole but without the plugin file itself (missing from its
        // directory, or of a kind the copy leaves behind) registers nothing: the file is put to the
        // user as one that did not arrive, and the other plugins of the directory still register.
        TransferCase c;
        c.Name = "PluginFileThatDidNotArriveIsNotRegistered";
        c.Files = {{"plugins\\multi\\multi.vpx", "plugin"}, {"plugins\\multi\\pack.zip", "plugin"}};
        c.Settings = "[PackerPlugins]\n"
                     "gone=%VELTRANO_PATH%\\plugins\\multi\\gone.vpx\n"
                     "pack=%VELTRANO_PATH%\\plugins\\multi\\pack.zip\n"
                     "multi=%VELTRANO_PATH%\\plugins\\multi\\multi.vpx\n";
        c.Checked = {"Packer: gone", "Packer: pack", "Packer: multi"};
        c.Failures = Lines{"{device}\\Plugins\\vpx\\gone\\gone.vpx", "{device}\\Plugins\\vpx\\gone\\pack.zip"};
        c.Sections = {{"PackerPlugins", {"multi=%U3_APP_DATA_PATH%\\Plugins\\vpx\\gone\\multi.vpx"}}};
        c.AbortRequested = 0;
        cases.push_back(c);
    }
    {
        // Two plugin directories whose files share a base name: the second source gets a folder of
        // its own, named with a suffix, and each registration names its own source's file.
        TransferCase c;
        c.Name = "SameBaseNameFromAnotherDirectoryGetsItsOwnFolder";
        c.Files = {{"plugins\\arc\\arc.vpx", "first"}, {"plugins\\arc2\\arc.vpx", "second"},
                   {"plugins\\arc2\\more.vpx", "second more"}};
        c.Settings = "[PackerPlugins]\n"
                     "arc=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
                     "zip=%VELTRANO_PATH%\\plugins\\arc2\\arc.vpx\n"
                     "more=%VELTRANO_PATH%\\plugins\\arc2\\more.vpx\n";
        c.Checked = {"Packer: arc", "Packer: zip", "Packer: more"};
        c.Sections = {{"PackerPlugins",
                       {"arc=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                        "zip=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\arc.vpx",
                        "more=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\more.vpx"}}};
        c.DeviceFiles = Lines{"vpx\\",        "vpx\\arc\\",          "vpx\\arc\\arc.vpx",
                              "vpx\\arc_2\\", "vpx\\arc_2\\arc.vpx", "vpx\\arc_2\\more.vpx"};
        c.DeviceContents = {{"Plugins\\vpx\\arc_2\\arc.vpx", "second"}};
        c.CopiedTo = {{"Packer: more", "{device}\\Plugins\\vpx\\arc_2\\", ""}};
        cases.push_back(c);
    }
    {
        // Source directories are told apart without regard to case when a folder is chosen, too: a
        // row whose nearest earlier row of its directory made no folder (an unsafe plugin name)
        // shares the folder of a row further back that names the same directory in another case.
        TransferCase c;
        c.Name = "SameDirectoryInAnotherCaseSharesItsFolder";
        c.Files = {{"plugins\\arc\\arc.vpx", "plugin"}};
        c.Settings = "[PackerPlugins]\n"
                     "a=%VELTRANO_PATH%\\plugins\\Arc\\arc.vpx\n"
                     "b=%VELTRANO_PATH%\\plugins\\arc\\c:arc.vpx\n"
                     "c=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n";
        c.Checked = {"Packer: a", "Packer: b", "Packer: c"};
        c.Failures = Lines{"Packer: b"};
        c.CopiedTo = {{"Packer: b", "", ""},
                      {"Packer: c", "{device}\\Plugins\\vpx\\arc\\", "a second folder for one directory"}};
        c.Sections = {{"PackerPlugins",
                       {"a=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                        "c=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"}}};
        c.DeviceFiles = Lines{"vpx\\", "vpx\\arc\\", "vpx\\arc\\arc.vpx"};
        cases.push_back(c);
    }
    return cases;
}

class PluginTransferCases : public PluginTransferTest, public ::testing::WithParamInterface<TransferCase> {
protected:
    std::string Placed(const std::string &text) const { return Replaced(text, "{device}", Device); }
    Lines Placed(const Lines &texts) const
    {
        Lines placed;
        for (const std::string &text : texts)
            placed.push_back(Placed(text));
        return placed;
    }
    // The entries directly in the root: what the transfer made beside the desktop and the device.
    Lines TopOfRoot() const
    {
        Lines top;
        for (const std::string &entry : ListTree(Root)) {
            if (std::count(entry.begin(), entry.end(), '\\') == 0 ||
                (std::count(entry.begin(), entry.end(), '\\') == 1 && entry.back() == '\\'))
                top.push_back(entry);
        }
        return top;
    }
};

TEST_P(PluginTransferCases, Transfer)
{
    const TransferCase &c = GetParam();
    for (const auto &file : c.Files)
        DesktopFile(file.first, file.second);
    std::unique_ptr<LockedFile> locked;
    if (c.Locked) {
        locked.reset(new LockedFile(Desktop + "\\" + c.Locked));
        ASSERT_NE(INVALID_HANDLE_VALUE, locked->Handle);
    }
    Settings(c.Settings);
    OpenList(c.Checked);
    if (c.CancelOn) {
        const std::string end = c.CancelOn;
        Recording.StopWhen = [end](const std::string &target) {
            return target.size() >= end.size() && target.compare(target.size() - end.size(), end.size(), end) == 0;
        };
    }
    Transfer();

    if (c.Failures) {
        EXPECT_EQ(Placed(*c.Failures), Recording.FailedTargets());
    }
    if (c.AbortRequested >= 0) {
        EXPECT_EQ(c.AbortRequested, InstallState.AbortRequested);
    }
    if (c.DeviceFiles) {
        EXPECT_EQ(*c.DeviceFiles, DeviceFiles()) << c.DeviceFilesNote;
    }
    for (const auto &section : c.Sections)
        EXPECT_EQ(section.second, PortableSection(section.first)) << section.first;
    for (const TransferCase::Copied &copied : c.CopiedTo)
        EXPECT_EQ(Placed(copied.Folder), CopiedTo(copied.Label)) << copied.Label << ": " << copied.Note;
    for (const auto &content : c.DeviceContents) {
        std::string held;
        EXPECT_TRUE(ReadFileBytes(Device + "\\" + content.first, &held)) << content.first;
        EXPECT_EQ(content.second, held) << content.first;
    }
    for (const std::string &absent : c.Absent)
        EXPECT_EQ(GetFileAttributesA((Device + "\\" + absent).c_str()), INVALID_FILE_ATTRIBUTES) << absent;
    if (c.NothingBesideDesktopAndDevice) {
        EXPECT_EQ(Lines({"desktop\\", "device\\"}), TopOfRoot())
            << "nothing was made beside the desktop and the device";
    }
}

INSTANTIATE_TEST_SUITE_P(PluginTransferTest, PluginTransferCases, ::testing::ValuesIn(TransferCases()),
                         [](const ::testing::TestParamInfo<TransferCase> &info) { return info.param.Name; });


TEST_F(PluginTransferTest, ProgressMovesTwoStepsFromZero)
{
    struct ProgressCase {
        int Rows;
        std::vector<int> Shown;
    };
    const ProgressCase cases[] = {{1, {66}}, {3, {40, 60, 80}}};
    for (const ProgressCase &c : cases) {
        std::string settings = "[PackerPlugins]\n";
        std::vector<std::string> labels;
        for (int i = 0; i < c.Rows; ++i) {
            std::string name = "p" + std::to_string(c.Rows) + "_" + std::to_string(i);
            DesktopFile("plugins\\" + name + "\\" + name + ".vpx");
            settings += name + "=%VELTRANO_PATH%\\plugins\\" + name + "\\" + name + ".vpx\n";
            labels.push_back("Packer: " + name);
        }
        Settings(settings);
        OpenList(labels);
        Transfer();
        EXPECT_EQ(c.Shown, Recording.Progress) << c.Rows << " rows";
        StartAfresh();
    }
}


// What the device holds where a plugin's folder would go, from an earlier run or otherwise: the
// folder is used again only when it holds this plugin's file byte for byte; anything else there
// stays as it is and the plugin goes to the next free folder.
TEST_F(PluginTransferTest, DeviceFolderIsUsedAgainOnlyForTheSamePluginFile)
{
    struct HeldCase {
        const char *Name;
        const char *Held;     // below Plugins\vpx, "name=content"; a name ending in '\\' is a folder
        const char *Folder;   // the folder arc goes to
    };
    const HeldCase cases[] = {
        {"nothing", "", "arc"},
        {"the same plugin file", "arc\\arc.vpx=arc plugin", "arc"},
        {"the same file under another case", "ARC\\ARC.VPX=arc plugin", "arc"},
        {"another plugin's file", "arc\\arc.vpx=another arc", "arc_2"},
        {"an empty folder", "arc\\", "arc_2"},
        {"a file in the way", "arc=in the way", "arc_2"},
        {"a folder in the way of the plugin file", "arc\\arc.vpx\\", "arc_2"},
        {"two folders taken", "arc\\arc.vpx=another arc|arc_2\\", "arc_3"},
    };
    for (const HeldCase &c : cases) {
        SCOPED_TRACE(c.Name);
        RemoveTree(Device);
        MakeDirectories(Device + "\\Plugins\\vpx");
        std::string held = c.Held;
        for (size_t from = 0; from < held.size();) {
            size_t end = held.find('|', from);
            std::string entry = held.substr(from, end == std::string::npos ? std::string::npos : end - from);
            from = end == std::string::npos ? held.size() : end + 1;
            size_t equals = entry.find('=');
            std::string path = Device + "\\Plugins\\vpx\\" + entry.substr(0, equals);
            if (equals == std::string::npos)
                MakeDirectories(path);
            else
                WriteTextFile(path, entry.substr(equals + 1));
        }
        DesktopFile("plugins\\arc\\arc.vpx", "arc plugin");
        Settings("[PackerPlugins]\narc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n");
        OpenList({"Packer: arc"});
        Transfer();
        EXPECT_EQ(Lines{}, Recording.FailedTargets());
        EXPECT_EQ(Lines{std::string("arc=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\") + c.Folder + "\\arc.vpx"},
                  PortableSection("PackerPlugins"));
        std::string copied;
        EXPECT_TRUE(ReadFileBytes(Device + "\\Plugins\\vpx\\" + c.Folder + "\\arc.vpx", &copied));
        EXPECT_EQ("arc plugin", copied);
        StartAfresh();
    }
}


// A copy that failed is never taken for one that arrived, even when the plugin file itself landed
// before the failure: a later row of the same directory copies again, and is not registered when
// that copy fails too.
TEST_F(PluginTransferTest, FailedCopyIsNotTakenAsArrivedByRowsOfItsDirectory)
{
    DesktopFile("plugins\\arc\\arc.vpx");
    DesktopFile("plugins\\arc\\zz_locked.dat");
    Settings("[PackerPlugins]\n"
             "arc=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
             "tar=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n");
    OpenList({"Packer: arc", "Packer: tar"});
    // Opened without sharing: its copy fails every time, after arc.vpx, which the search lists first.
    HANDLE hold = CreateFileA((Desktop + "\\plugins\\arc\\zz_locked.dat").c_str(), GENERIC_READ, 0, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    Transfer();
    CloseHandle(hold);

    const std::string folder = Device + "\\Plugins\\vpx\\arc\\";
    ASSERT_TRUE(PathExists(folder + "arc.vpx")) << "the plugin file did not land before the failure";
    EXPECT_EQ(Lines({folder + "zz_locked.dat", folder + "zz_locked.dat"}), Recording.FailedTargets())
        << "the second row must copy again";
    EXPECT_TRUE(PortableSection("PackerPlugins").empty()) << "a row was registered from a copy that failed";
    EXPECT_EQ(folder, CopiedTo("Packer: tar"));
    EXPECT_EQ(0, InstallState.AbortRequested);
}

TEST_F(PluginTransferTest, NothingCheckedOrNoList)
{
    DesktopFile("plugins\\a\\a.vpx");
    Settings("[PackerPlugins]\na=%VELTRANO_PATH%\\plugins\\a\\a.vpx\n");
    Transfer();  // the plugin page was never shown
    OpenList({});
    Transfer();
    EXPECT_TRUE(DeviceFiles().empty());
    EXPECT_TRUE(Recording.Progress.empty());
    EXPECT_TRUE(PortableSection("PackerPlugins").empty());
}

}  // namespace
