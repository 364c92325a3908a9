// Plugin transfer of the plugin rows, as the page fills them, into a device directory, through the
// real profile functions and file system.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "engine/plugin_transfer.h"
#include "pages/plugin_list.h"
#include "support/files.h"
#include "support/install_state_fixture.h"
#include "support/recording_report.h"
#include "support/temp_directory.h"
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

TEST_F(PluginTransferTest, SharedPackerDirectoryIsCopiedOnce)
{
    DesktopFile("plugins\\arc\\arc.vpx");
    DesktopFile("plugins\\arc\\lang\\arc.lng");
    DesktopFile("plugins\\arc\\old.zip");
    Settings("[PackerPlugins]\n"
             "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
             "tar=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n");
    OpenList({"Packer: arc", "Packer: tar"});
    Transfer();

    Lines expectedFiles = {"vpx\\", "vpx\\arc\\", "vpx\\arc\\arc.vpx", "vpx\\arc\\lang\\",
                           "vpx\\arc\\lang\\arc.lng"};
    EXPECT_EQ(expectedFiles, DeviceFiles());
    Lines expected = {"arc=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                      "tar=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"};
    EXPECT_EQ(expected, PortableSection("PackerPlugins"));
    EXPECT_EQ(Device + "\\Plugins\\vpx\\arc\\", CopiedTo("Packer: arc"));
    EXPECT_EQ(Device + "\\Plugins\\vpx\\arc\\", CopiedTo("Packer: tar"));
}

TEST_F(PluginTransferTest, ListerKeysAreRenumberedWithTheirCompanion)
{
    DesktopFile("plugins\\img\\imgview.vlx");
    DesktopFile("plugins\\txt\\text.vlx");
    DesktopFile("plugins\\wdx\\info.wdx");
    Settings("[ListerPlugins]\n"
             "3=%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\n"
             "3_detect=EXT=\"JPG\" | EXT=\"PNG\"\n"
             "7=%VELTRANO_PATH%\\plugins\\txt\\text.vlx\n"
             "7_detect=\n"
             "[ContentPlugins]\n"
             "5=%VELTRANO_PATH%\\plugins\\wdx\\info.wdx\n"
             "5_detect=size>0\n");
    OpenList({"Lister: 3: imgview", "Lister: 7: text", "Content: 5: info"});
    Transfer();

    Lines lister = {"0=%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx",
                    "0_detect=\"EXT=\"JPG\" | EXT=\"PNG\"\"",
                    "1=%U3_APP_DATA_PATH%\\Plugins\\vlx\\text\\text.vlx"};
    EXPECT_EQ(lister, PortableSection("ListerPlugins"));
    Lines content = {"0=%U3_APP_DATA_PATH%\\Plugins\\vdx\\info\\info.wdx", "0_detect=\"size>0\""};
    EXPECT_EQ(content, PortableSection("ContentPlugins"));
}

TEST_F(PluginTransferTest, FlagsPrefixStaysForPackersOnly)
{
    DesktopFile("plugins\\fs\\net.vfx");
    DesktopFile("plugins\\zip\\zip.vpx");
    Settings("[PackerPlugins]\n"
             "zip=1234,%VELTRANO_PATH%\\plugins\\zip\\zip.vpx\n"
             "[FileSystemPlugins]\n"
             "Network=7,%VELTRANO_PATH%\\plugins\\fs\\net.vfx\n");
    OpenList({"Packer: zip", "File System: Network"});
    Transfer();
    EXPECT_EQ(Lines{"zip=1234,%U3_APP_DATA_PATH%\\Plugins\\vpx\\zip\\zip.vpx"}, PortableSection("PackerPlugins"));
    EXPECT_EQ(Lines{"Network=%U3_APP_DATA_PATH%\\Plugins\\vfx\\net\\net.vfx"}, PortableSection("FileSystemPlugins"));
}

TEST_F(PluginTransferTest, ListerReusesAPackerDirectory)
{
    DesktopFile("plugins\\multi\\multi.vpx");
    DesktopFile("plugins\\multi\\multi.vlx");
    DesktopFile("plugins\\multi\\second.vpx");
    Settings("[PackerPlugins]\n"
             "multi=%VELTRANO_PATH%\\plugins\\multi\\multi.vpx\n"
             "second=%VELTRANO_PATH%\\PLUGINS\\Multi\\second.vpx\n"
             "[ListerPlugins]\n"
             "0=%VELTRANO_PATH%\\plugins\\multi\\multi.vlx\n");
    OpenList({"Packer: multi", "Packer: second", "Lister: 0: multi"});
    Transfer();
    Lines expectedFiles = {"vpx\\", "vpx\\multi\\", "vpx\\multi\\multi.vlx", "vpx\\multi\\multi.vpx",
                           "vpx\\multi\\second.vpx"};
    EXPECT_EQ(expectedFiles, DeviceFiles()) << "no second directory is made";
    Lines packers = {"multi=%U3_APP_DATA_PATH%\\Plugins\\vpx\\multi\\multi.vpx",
                     "second=%U3_APP_DATA_PATH%\\Plugins\\vpx\\multi\\second.vpx"};
    EXPECT_EQ(packers, PortableSection("PackerPlugins"));
    EXPECT_EQ(Lines{"0=%U3_APP_DATA_PATH%\\Plugins\\vpx\\multi\\multi.vlx"}, PortableSection("ListerPlugins"));
}

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

TEST_F(PluginTransferTest, FailedCopyUsesNoNumber)
{
    DesktopFile("plugins\\bad\\bad.vlx");
    DesktopFile("plugins\\good\\good.vlx");
    LockedFile locked(Desktop + "\\plugins\\bad\\bad.vlx");
    ASSERT_NE(INVALID_HANDLE_VALUE, locked.Handle);
    Settings("[ListerPlugins]\n"
             "1=%VELTRANO_PATH%\\plugins\\bad\\bad.vlx\n"
             "2=%VELTRANO_PATH%\\plugins\\good\\good.vlx\n");
    OpenList({"Lister: 1: bad", "Lister: 2: good"});
    Transfer();
    EXPECT_EQ(Lines{"0=%U3_APP_DATA_PATH%\\Plugins\\vlx\\good\\good.vlx"}, PortableSection("ListerPlugins"));
    EXPECT_EQ(0, InstallState.AbortRequested);
    EXPECT_EQ(Device + "\\Plugins\\vlx\\bad\\", CopiedTo("Lister: 1: bad")) << "written before the copy";
}

TEST_F(PluginTransferTest, CancelledCopyStopsTheRest)
{
    DesktopFile("plugins\\a\\a.vpx");
    DesktopFile("plugins\\b\\b.vpx");
    DesktopFile("plugins\\c\\c.vpx");
    LockedFile locked(Desktop + "\\plugins\\b\\b.vpx");
    ASSERT_NE(INVALID_HANDLE_VALUE, locked.Handle);
    Settings("[PackerPlugins]\n"
             "a=%VELTRANO_PATH%\\plugins\\a\\a.vpx\n"
             "b=%VELTRANO_PATH%\\plugins\\b\\b.vpx\n"
             "c=%VELTRANO_PATH%\\plugins\\c\\c.vpx\n");
    OpenList({"Packer: a", "Packer: b", "Packer: c"});
    Recording.StopAnswers = {TRUE};
    Transfer();
    EXPECT_EQ(Lines{Device + "\\Plugins\\vpx\\b\\b.vpx"}, Recording.FailedTargets()) << "answered Cancel";
    EXPECT_EQ(1, InstallState.AbortRequested);
    EXPECT_EQ(Lines{"a=%U3_APP_DATA_PATH%\\Plugins\\vpx\\a\\a.vpx"}, PortableSection("PackerPlugins"));
    EXPECT_EQ("", CopiedTo("Packer: c"));
    EXPECT_EQ(GetFileAttributesA((Device + "\\Plugins\\vpx\\c").c_str()), INVALID_FILE_ATTRIBUTES);
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

TEST_F(PluginTransferTest, UnsafePluginNamesAreSkipped)
{
    DesktopFile("plugins\\evil\\evil.vpx");
    DesktopFile("plugins\\shared\\good.vpx");
    Settings("[PackerPlugins]\n"
             "climb=%VELTRANO_PATH%\\plugins\\evil\\../../../x.vpx\n"
             "drive=%VELTRANO_PATH%\\plugins\\evil\\c:x.vpx\n"
             "nobase=%VELTRANO_PATH%\\plugins\\evil\\.vpx\n"
             "dots=%VELTRANO_PATH%\\plugins\\shared\\...vpx\n"
             "good=%VELTRANO_PATH%\\plugins\\shared\\good.vpx\n");
    OpenList({"Packer: climb", "Packer: drive", "Packer: nobase", "Packer: dots", "Packer: good"});
    Transfer();
    // Each plugin left out is put to the user, named by its row; OK goes on with the next.
    EXPECT_EQ(Lines({"Packer: climb", "Packer: drive", "Packer: nobase", "Packer: dots"}), Recording.FailedTargets());
    EXPECT_EQ(0, InstallState.AbortRequested);
    // The nearest earlier row of the shared directory made no target: the row makes its own.
    Lines expectedFiles = {"vpx\\", "vpx\\good\\", "vpx\\good\\good.vpx"};
    EXPECT_EQ(expectedFiles, DeviceFiles());
    EXPECT_EQ(Lines{"good=%U3_APP_DATA_PATH%\\Plugins\\vpx\\good\\good.vpx"}, PortableSection("PackerPlugins"));
    for (const char *label : {"Packer: climb", "Packer: drive", "Packer: nobase", "Packer: dots"})
        EXPECT_EQ("", CopiedTo(label)) << label;
    Lines top;
    for (const std::string &entry : ListTree(Root)) {
        if (std::count(entry.begin(), entry.end(), '\\') == 0 || (std::count(entry.begin(), entry.end(), '\\') == 1 && entry.back() == '\\'))
            top.push_back(entry);
    }
    EXPECT_EQ(Lines({"desktop\\", "device\\"}), top) << "nothing was made beside the desktop and the device";
}

// A directory that arrived whole but without the plugin file itself (missing from its directory,
// or of a kind the copy leaves behind) registers nothing: the file is put to the user as one that
// did not arrive, and the other plugins of the directory still register.
TEST_F(PluginTransferTest, PluginFileThatDidNotArriveIsNotRegistered)
{
    DesktopFile("plugins\\multi\\multi.vpx");
    DesktopFile("plugins\\multi\\pack.zip");
    Settings("[PackerPlugins]\n"
             "gone=%VELTRANO_PATH%\\plugins\\multi\\gone.vpx\n"
             "pack=%VELTRANO_PATH%\\plugins\\multi\\pack.zip\n"
             "multi=%VELTRANO_PATH%\\plugins\\multi\\multi.vpx\n");
    OpenList({"Packer: gone", "Packer: pack", "Packer: multi"});
    Transfer();
    EXPECT_EQ(Lines({Device + "\\Plugins\\vpx\\gone\\gone.vpx", Device + "\\Plugins\\vpx\\gone\\pack.zip"}),
              Recording.FailedTargets());
    EXPECT_EQ(Lines{"multi=%U3_APP_DATA_PATH%\\Plugins\\vpx\\gone\\multi.vpx"}, PortableSection("PackerPlugins"));
    EXPECT_EQ(0, InstallState.AbortRequested);
}

// Two plugin directories whose files share a base name: the second source gets a folder of its
// own, named with a suffix, and each registration names its own source's file.
TEST_F(PluginTransferTest, SameBaseNameFromAnotherDirectoryGetsItsOwnFolder)
{
    DesktopFile("plugins\\arc\\arc.vpx", "first");
    DesktopFile("plugins\\arc2\\arc.vpx", "second");
    DesktopFile("plugins\\arc2\\more.vpx", "second more");
    Settings("[PackerPlugins]\n"
             "arc=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
             "zip=%VELTRANO_PATH%\\plugins\\arc2\\arc.vpx\n"
             "more=%VELTRANO_PATH%\\plugins\\arc2\\more.vpx\n");
    OpenList({"Packer: arc", "Packer: zip", "Packer: more"});
    Transfer();
    Lines expected = {"arc=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                      "zip=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\arc.vpx",
                      "more=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc_2\\more.vpx"};
    EXPECT_EQ(expected, PortableSection("PackerPlugins"));
    Lines expectedFiles = {"vpx\\", "vpx\\arc\\", "vpx\\arc\\arc.vpx", "vpx\\arc_2\\",
                           "vpx\\arc_2\\arc.vpx", "vpx\\arc_2\\more.vpx"};
    EXPECT_EQ(expectedFiles, DeviceFiles());
    std::string second;
    EXPECT_TRUE(ReadFileBytes(Device + "\\Plugins\\vpx\\arc_2\\arc.vpx", &second));
    EXPECT_EQ("second", second);
    EXPECT_EQ(Device + "\\Plugins\\vpx\\arc_2\\", CopiedTo("Packer: more"));
}

// Source directories are told apart without regard to case when a folder is chosen, too: a row
// whose nearest earlier row of its directory made no folder (an unsafe plugin name) shares the
// folder of a row further back that names the same directory in another case.
TEST_F(PluginTransferTest, SameDirectoryInAnotherCaseSharesItsFolder)
{
    DesktopFile("plugins\\arc\\arc.vpx");
    Settings("[PackerPlugins]\n"
             "a=%VELTRANO_PATH%\\plugins\\Arc\\arc.vpx\n"
             "b=%VELTRANO_PATH%\\plugins\\arc\\c:arc.vpx\n"
             "c=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n");
    OpenList({"Packer: a", "Packer: b", "Packer: c"});
    Transfer();
    EXPECT_EQ(Lines{"Packer: b"}, Recording.FailedTargets());
    EXPECT_EQ("", CopiedTo("Packer: b"));
    EXPECT_EQ(Device + "\\Plugins\\vpx\\arc\\", CopiedTo("Packer: c")) << "a second folder for one directory";
    Lines expected = {"a=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                      "c=%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"};
    EXPECT_EQ(expected, PortableSection("PackerPlugins"));
    EXPECT_EQ(Lines({"vpx\\", "vpx\\arc\\", "vpx\\arc\\arc.vpx"}), DeviceFiles());
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
