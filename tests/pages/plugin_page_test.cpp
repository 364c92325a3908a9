// The plugin page on its own template, against real settings files and plugin directories.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "files/directory_size.h"
#include "files/free_space.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "lists/plugin_rows.h"
#include "pages/checked_total.h"
#include "pages/plugin_list.h"
#include "pages/wizard.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/install_state_fixture.h"
#include "support/trees.h"
#include "support/unix_side.h"
#include "support/walk_bound.h"

namespace {

struct Row {
    std::string Label, Size, Path;
    bool operator==(const Row &other) const
    {
        return Label == other.Label && Size == other.Size && Path == other.Path;
    }
};

std::ostream &operator<<(std::ostream &out, const Row &row)
{
    return out << "{" << row.Label << " | " << row.Size << " | " << row.Path << "}";
}

class PluginPageTest : public ::testing::Test {
protected:
    std::string Root;
    HWND Page = NULL;

    void SetUp() override
    {
        Root = PointFreshInstallStateAtNewDesktop("plugin_page");
        SetEnvironmentVariableA("VELTRANO_PATH", Root.c_str());
    }
    void TearDown() override
    {
        if (Page)
            DestroyWindow(Page);
        SetEnvironmentVariableA("VELTRANO_PATH", NULL);
        SetEnvironmentVariableA("U3_APP_DATA_PATH", NULL);
        RemoveTree(Root);
    }

    void Settings(const std::string &text) { WriteTextFile(Root + "\\vtmain.ini", text); }
    void Plugin(const std::string &relativePath, unsigned long long size = 100)
    {
        WriteSizedFile(Root + "\\" + relativePath, size);
    }

    HWND OpenPage()
    {
        Page = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PLUGINS), NULL, PluginPageProc, 0);
        return Page;
    }
    HWND List() const { return GetDlgItem(Page, IDC_PLUGIN_LIST); }
    void Activate() const
    {
        NMHDR header = {Page, 0, static_cast<UINT>(PSN_SETACTIVE)};
        SendMessageA(Page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    std::vector<Row> Rows() const
    {
        std::vector<Row> rows;
        for (int row = 0; row < ListRowCount(List()); ++row) {
            char label[PATH_BUFFER_SIZE], size[PATH_BUFFER_SIZE], path[PATH_BUFFER_SIZE];
            GetListText(label, COUNTOF(label), List(), row, 0);
            GetListText(size, COUNTOF(size), List(), row, 1);
            GetListText(path, COUNTOF(path), List(), row, 2);
            rows.push_back({label, size, path});
        }
        return rows;
    }
    std::string Label(int id) const
    {
        char text[64];
        GetDlgItemTextA(Page, id, text, COUNTOF(text));
        return text;
    }
    void SetChecked(int row, bool checked) const
    {
        LVITEMA item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = checked ? STATE_CHECKED : STATE_UNCHECKED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    void Select(int row) const
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    void Click(int id) const { SendMessageA(Page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // Rows of the given directories and sizes ("<n>k") after the page's own (none here), linked by
    // directory and drawn into the list as the page's filling leaves them, before any check.
    void AddRows(const std::vector<const char *> &paths, const char *const *sizes) const
    {
        for (size_t row = 0; row < paths.size(); ++row) {
            PluginRow *record = AppendPluginRow();
            ASSERT_TRUE(record != NULL) << "no memory for a row";
            lstrcpynA(record->Label, ("Packer: k" + std::to_string(row)).c_str(), COUNTOF(record->Label));
            lstrcpynA(record->SourceDirectory, paths[row], COUNTOF(record->SourceDirectory));
            record->SizeBytes = std::stoull(sizes[row]) * 1024;
        }
        ASSERT_TRUE(LinkSharedDirectories());
        DrawPluginList(List());
        ResetCheckedTotal();
    }
    std::vector<bool> Checks() const
    {
        std::vector<bool> checks;
        for (int row = 0; row < ListRowCount(List()); ++row)
            checks.push_back(IsItemChecked(List(), row) != 0);
        return checks;
    }
};

TEST_F(PluginPageTest, RowsOfEveryKind)
{
    Plugin("plugins\\arc\\arc.vpx", 1);
    Plugin("plugins\\vlx\\imgview\\imgview.vlx", 1024);
    Plugin("plugins\\vlx\\imgview\\readme.txt", 1);
    Plugin("plugins\\fs\\net.vfx", 2048);
    Plugin("plugins\\wdx\\info.v.wdx", 3000);
    Settings("[PackerPlugins]\n"
             "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
             "x_detect=%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
             "[ListerPlugins]\n"
             "0=%VELTRANO_PATH%\\plugins\\vlx\\imgview\\imgview.vlx\n"
             "0_detect=\"EXT=\"\"JPG\"\"\"\n"
             "1_DETECT=%VELTRANO_PATH%\\plugins\\vlx\\imgview\\imgview.vlx\n"
             "[FileSystemPlugins]\n"
             "Net=%VELTRANO_PATH%\\plugins\\fs\\net.vfx\n"
             "net_detect=7,%VELTRANO_PATH%\\plugins\\fs\\net.vfx\n"
             "[ContentPlugins]\n"
             "0=%VELTRANO_PATH%\\plugins\\wdx\\info.v.wdx\n"
             "_detect=%VELTRANO_PATH%\\plugins\\wdx\\info.v.wdx\n");
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_EQ(ListRowCount(List()), PluginRows.Count) << "the list is drawn from the rows";
    const std::string p = Root + "\\plugins\\";
    std::vector<Row> expected = {
        {"Packer: arc", "1k", p + "arc"},
        {"Packer: x_detect", "1k", p + "arc"},
        {"Lister: 0: imgview", "2k", p + "vlx\\imgview"},
        {"File System: Net", "2k", p + "fs"},
        {"File System: net_detect", "2k", p + "fs"},
        {"Content: 0: info.v", "3k", p + "wdx"},
        {"Content: _detect: info.v", "3k", p + "wdx"},  // '_' as the first character is no companion
    };
    EXPECT_EQ(expected, Rows());
    EXPECT_EQ("0k", Label(IDC_CHECKED_TOTAL));
}

TEST_F(PluginPageTest, ValuesThatNameNoPluginDirectoryGiveNoRow)
{
    Plugin("plugins\\ok\\ok.vpx");
    Plugin("plugins\\archives\\a.zip");
    Plugin("plugins\\archives\\B.RAR");
    Plugin("plugins\\archives\\inner.zip\\big.bin", 5000);
    Plugin("plugins\\empty\\zero.vpx", 0);
    Settings("[PackerPlugins]\n"
             "noslash=12,plugin.vpx\n"
             "firstonly=\\plugin.vpx\n"
             "trailing=%VELTRANO_PATH%\\plugins\\ok\\\n"
             "empty=\n"
             "digits=21,\n"
             "missing=%VELTRANO_PATH%\\plugins\\nothere\\x.vpx\n"
             "archives=%VELTRANO_PATH%\\plugins\\archives\\x.vpx\n"
             "zero=%VELTRANO_PATH%\\plugins\\empty\\zero.vpx\n"
             "good=%VELTRANO_PATH%\\plugins\\ok\\ok.vpx\n"
             "[ListerPlugins]\n"
             "0=noslash.vlx\n");
    ASSERT_NE(nullptr, OpenPage());
    std::vector<Row> expected = {{"Packer: good", "1k", Root + "\\plugins\\ok"}};
    EXPECT_EQ(expected, Rows());
}

TEST_F(PluginPageTest, SizesRoundUpToKiB)
{
    struct SizeCase {
        unsigned long long Bytes;
        const char *Shown;
    };
    const SizeCase cases[] = {{1, "1k"}, {1024, "1k"}, {1025, "2k"}, {4096 * 1024ull, "4096k"}};
    std::string settings = "[PackerPlugins]\n";
    for (size_t i = 0; i < COUNTOF(cases); ++i) {
        std::string dir = "plugins\\size" + std::to_string(i);
        Plugin(dir + "\\p.vpx", cases[i].Bytes);
        settings += "k" + std::to_string(i) + "=%VELTRANO_PATH%\\" + dir + "\\p.vpx\n";
    }
    Settings(settings);
    ASSERT_NE(nullptr, OpenPage());
    std::vector<Row> rows = Rows();
    ASSERT_EQ(COUNTOF(cases), rows.size());
    for (size_t i = 0; i < COUNTOF(cases); ++i)
        EXPECT_EQ(cases[i].Shown, rows[i].Size) << cases[i].Bytes << " bytes";
}

TEST_F(PluginPageTest, DirectoryOfFourGiBKeepsItsTrueSize)
{
    Plugin("plugins\\huge\\huge.vpx", 4ull << 30);
    Plugin("plugins\\huge\\more\\data.bin", 4ull << 30);
    Settings("[PackerPlugins]\nhuge=%VELTRANO_PATH%\\plugins\\huge\\huge.vpx\n");
    ASSERT_NE(nullptr, OpenPage());
    std::vector<Row> expected = {{"Packer: huge", "8388608k", Root + "\\plugins\\huge"}};
    EXPECT_EQ(expected, Rows());
    SetChecked(0, true);
    EXPECT_EQ("8388608k", Label(IDC_CHECKED_TOTAL));
}

TEST_F(PluginPageTest, SharedDirectoriesCountOnce)
{
    Plugin("plugins\\arc\\arc.vpx", 2048);
    Plugin("plugins\\zip\\zip.vpx", 10240);
    Settings("[PackerPlugins]\n"
             "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\n"
             "tar=21,%VELTRANO_PATH%\\PLUGINS\\ARC\\arc.vpx\n"
             "zip=%VELTRANO_PATH%\\plugins\\zip\\zip.vpx\n");
    ASSERT_NE(nullptr, OpenPage());
    ASSERT_EQ(3u, Rows().size());
    SetChecked(0, true);
    EXPECT_EQ("2k", Label(IDC_CHECKED_TOTAL));
    SetChecked(1, true);
    EXPECT_EQ("2k", Label(IDC_CHECKED_TOTAL));
    SetChecked(2, true);
    EXPECT_EQ("12k", Label(IDC_CHECKED_TOTAL));
    SetChecked(0, false);
    EXPECT_EQ("12k", Label(IDC_CHECKED_TOTAL)) << "the shared directory now counts through the second row";
    SetChecked(1, false);
    EXPECT_EQ("10k", Label(IDC_CHECKED_TOTAL));
}

// The kept total must equal the one computed from scratch after any sequence of changes.
TEST_F(PluginPageTest, TotalFollowsEveryChange)
{
    std::string settings = "[PackerPlugins]\n";
    for (int i = 0; i < 24; ++i) {
        std::string dir = "plugins\\d" + std::to_string(i % 7);
        Plugin(dir + "\\p.vpx", 1024 * (1 + i % 7));
        std::string shown = i % 2 ? dir : "PLUGINS\\D" + std::to_string(i % 7);
        settings += "k" + std::to_string(i) + "=%VELTRANO_PATH%\\" + shown + "\\p.vpx\n";
    }
    Settings(settings);
    ASSERT_NE(nullptr, OpenPage());
    const int rows = ListRowCount(List());
    ASSERT_EQ(24, rows);
    std::mt19937 rng(7);
    for (int step = 0; step < 300; ++step) {
        int action = rng() % 10;
        if (action == 0)
            Click(IDC_CHECK_ALL);
        else if (action == 1)
            Click(IDC_UNCHECK_ALL);
        else
            SetChecked(rng() % rows, rng() % 2);
        // The reference: every checked row whose directory no earlier checked row has.
        unsigned long long total = 0;
        std::vector<Row> all = Rows();
        std::vector<bool> checks = Checks();
        for (int row = 0; row < rows; ++row) {
            if (!checks[row])
                continue;
            bool earlier = false;
            for (int other = 0; other < row; ++other)
                earlier = earlier || (checks[other] && lstrcmpiA(all[other].Path.c_str(), all[row].Path.c_str()) == 0);
            if (!earlier)
                total += std::stoull(all[row].Size);
        }
        ASSERT_EQ(std::to_string(total) + "k", Label(IDC_CHECKED_TOTAL)) << "after step " << step;
    }
}

// The total reads each row's whole path, as the transfer does: directories of 259 characters that
// differ only in their last one are two directories, counted twice; equal ones once.
TEST_F(PluginPageTest, TotalTellsPathsApartByTheirLastCharacter)
{
    Settings("");
    ASSERT_NE(nullptr, OpenPage());
    const std::string stem = "C:\\" + std::string(PATH_MAX_CHARS - 4, 'p');
    const std::string paths[] = {stem + "a", stem + "b", stem + "A"};
    const char *sizes[] = {"3k", "5k", "7k"};
    for (const std::string &path : paths)
        ASSERT_EQ(static_cast<size_t>(PATH_MAX_CHARS), path.size());
    AddRows({paths[0].c_str(), paths[1].c_str(), paths[2].c_str()}, sizes);
    SetChecked(0, true);
    SetChecked(1, true);
    EXPECT_EQ("8k", Label(IDC_CHECKED_TOTAL));
    SetChecked(2, true);
    EXPECT_EQ("8k", Label(IDC_CHECKED_TOTAL)) << "the third row shares the first one's directory";
}

// The total worked out afresh (row -1: any row may have changed) counts a directory that checked
// rows share once, through the first of them in list order.
TEST_F(PluginPageTest, RebuiltTotalCountsASharedDirectoryOnce)
{
    Settings("");
    ASSERT_NE(nullptr, OpenPage());
    const char *paths[] = {"C:\\plugins\\arc", "C:\\PLUGINS\\Arc", "C:\\plugins\\zip"};
    const char *sizes[] = {"3k", "5k", "7k"};
    AddRows({paths[0], paths[1], paths[2]}, sizes);
    struct Case {
        bool Checked[3];
        const char *Total;
    };
    const Case cases[] = {
        {{true, true, false}, "3k"},
        {{false, true, true}, "12k"},
        {{true, true, true}, "10k"},
        {{true, false, true}, "10k"},
    };
    for (const Case &c : cases) {
        for (int row = 0; row < 3; ++row)
            SetChecked(row, c.Checked[row]);
        UpdateCheckedTotal(Page, -1);
        EXPECT_EQ(c.Total, Label(IDC_CHECKED_TOTAL))
            << "rows checked: " << c.Checked[0] << ", " << c.Checked[1] << ", " << c.Checked[2];
    }
}

TEST_F(PluginPageTest, NoRegistrations)
{
    Settings("[Configuration]\nInstallDir=c:\\x\n");
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_TRUE(Rows().empty());
    Click(IDC_CHECK_ALL);
    Click(IDC_UNCHECK_ALL);
    EXPECT_EQ("0k", Label(IDC_CHECKED_TOTAL));
}

TEST_F(PluginPageTest, CheckListButtons)
{
    std::string settings = "[PackerPlugins]\n";
    for (int i = 0; i < 10; ++i) {
        Plugin("plugins\\p" + std::to_string(i) + "\\p.vpx");
        settings += "k" + std::to_string(i) + "=%VELTRANO_PATH%\\plugins\\p" + std::to_string(i) + "\\p.vpx\n";
    }
    Settings(settings);
    ASSERT_NE(nullptr, OpenPage());
    const std::vector<bool> none(10, false), all(10, true);
    Click(IDC_CHECK_ALL_SELECTED);
    EXPECT_EQ(none, Checks()) << "nothing selected: nothing changes";
    Select(1);
    Select(4);
    Select(8);
    Click(IDC_CHECK_ALL_SELECTED);
    std::vector<bool> three = none;
    three[1] = three[4] = three[8] = true;
    EXPECT_EQ(three, Checks());
    EXPECT_EQ("3k", Label(IDC_CHECKED_TOTAL));
    Click(IDC_CHECK_ALL);
    EXPECT_EQ(all, Checks());
    Click(IDC_UNCHECK_ALL_SELECTED);
    std::vector<bool> seven = all;
    seven[1] = seven[4] = seven[8] = false;
    EXPECT_EQ(seven, Checks());
    EXPECT_EQ("7k", Label(IDC_CHECKED_TOTAL));
    Click(IDC_UNCHECK_ALL);
    EXPECT_EQ(none, Checks());
    EXPECT_EQ("0k", Label(IDC_CHECKED_TOTAL));
}

TEST_F(PluginPageTest, FreeSpaceOnEveryActivation)
{
    Settings("");
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_EQ("0k", Label(IDC_FREE_SPACE));
    SetEnvironmentVariableA("U3_APP_DATA_PATH", "R:\\nowhere");  // a drive that is not mapped
    Activate();
    EXPECT_EQ("0k", Label(IDC_FREE_SPACE));
    SetEnvironmentVariableA("U3_APP_DATA_PATH", Root.c_str());
    Activate();
    ULARGE_INTEGER available, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceExA(Root.substr(0, 3).c_str(), &available, &total, &totalFree));
    unsigned long long shown = std::stoull(Label(IDC_FREE_SPACE));
    unsigned long long expected = available.QuadPart / 1024;
    EXPECT_GT(shown, 4ull << 20) << "this machine's disk has more than 4 GiB free";
    EXPECT_LT(shown > expected ? shown - expected : expected - shown, 64ull * 1024) << "free space moved by more than 64 MiB";
    EXPECT_EQ('k', Label(IDC_FREE_SPACE).back());
}

TEST(FreeSpace, VolumeRoots)
{
    struct RootCase {
        const char *Path, *Root;
    };
    const RootCase cases[] = {
        {"e:\\System\\Apps\\Plugins", "e:\\"},
        {"e:\\", "e:\\"},
        {"e:", "e:"},
        // A share's root keeps (or gets) its trailing backslash, which the free-space query needs.
        {"\\\\server\\share\\apps\\plugins", "\\\\server\\share\\"},
        {"\\\\server\\share\\", "\\\\server\\share\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"\\\\server\\", "\\\\server\\"},
        {"\\\\server", "\\\\server"},
        {"relative\\dir", "relative\\dir"},
    };
    for (const RootCase &c : cases) {
        char path[PATH_BUFFER_SIZE];
        lstrcpyA(path, c.Path);
        ReduceToVolumeRoot(path, COUNTOF(path));
        EXPECT_STREQ(c.Root, path) << "path: " << c.Path;
    }
    // A share name that fills its buffer gets no backslash beyond the buffer's end.
    char full[] = "\\\\server\\shares";
    ReduceToVolumeRoot(full, COUNTOF(full));
    EXPECT_STREQ("\\\\server\\shares", full);
}

TEST(FreeSpace, ClusterArithmeticWithoutTheExtendedQuery)
{
    struct ClusterCase {
        unsigned int SectorsPerCluster, BytesPerSector, FreeClusters, KiB;
    };
    const ClusterCase cases[] = {
        {1, 512, 3, 1},           // small clusters: multiplied first, then divided
        {2, 512, 5, 5},
        {8, 512, 10, 40},          // 4 KiB clusters: divided first
        {64, 512, 1000000, 32000000},
    };
    for (const ClusterCase &c : cases)
        EXPECT_EQ(c.KiB, FreeKiBFromClusters(c.SectorsPerCluster, c.BytesPerSector, c.FreeClusters));
}

// A plugin file directly in a drive's root has no directory of its own: no row, rather than the
// whole drive measured as its size. A plugin in a directory of that drive is listed as usual.
TEST_F(PluginPageTest, DriveRootPluginGivesNoRow)
{
    Plugin("driveroot\\root.vpx", 3000);
    Plugin("driveroot\\sub\\more.bin", 2000);
    std::string link = std::string(getenv("WINEPREFIX") ? getenv("WINEPREFIX") : "") + "/dosdevices/p:";
    ASSERT_TRUE(RunUnixCommand("ln -sfn '" + UnixPathOf((Root + "\\driveroot").c_str()) + "' '" + link + "'"))
        << "could not map drive P:";
    Settings("[PackerPlugins]\nroot=P:\\root.vpx\nsub=P:\\sub\\more.bin\n");
    ASSERT_NE(nullptr, OpenPage());
    std::vector<Row> expected = {{"Packer: sub", "2k", "P:\\sub"}};
    EXPECT_EQ(expected, Rows());
    RunUnixCommand("rm -f '" + link + "'");
}

TEST_F(PluginPageTest, LinkLoopsEnd)
{
    Plugin("plugins\\loop\\loop.vpx", 1000);
    Plugin("plugins\\loop\\sub\\data.bin", 1000);
    std::string unixDir = UnixPathOf((Root + "\\plugins\\loop").c_str());
    ASSERT_TRUE(RunUnixCommand("ln -s .. '" + unixDir + "/sub/up' && ln -s . '" + unixDir + "/self' && ln -s '" +
                               unixDir + "' '" + unixDir + "/sub/again'"))
        << "could not create the links";
    // Bounded first: a link guard that fails makes the measuring endless.
    ASSERT_TRUE(WalkOfLinkedTreeEnds(Root + "\\plugins\\loop"));
    EXPECT_EQ(2000u, DirectorySize((Root + "\\plugins\\loop").c_str()));
}

TEST_F(PluginPageTest, PathsAtTheBufferBound)
{
    // Directory names padded so that the file paths come out at exactly 259 and 260 characters.
    std::string base = Root + "\\b";
    std::string dir = base + "\\" + std::string(200 - base.size() - 1, 'd');
    ASSERT_EQ(200u, dir.size());
    std::string fits = dir + "\\" + std::string(259 - dir.size() - 1, 'f');
    std::string over = dir + "\\" + std::string(260 - dir.size() - 1, 'g');
    ASSERT_EQ(259u, fits.size());
    WriteSizedFile(fits, 1000);
    // Made from the Linux side, which has no such bound: a file one character too long, and a
    // subdirectory whose own path fits but whose trailing backslash would not.
    std::string unixDir = UnixPathOf(dir.c_str());
    std::string overName = over.substr(dir.size() + 1);
    std::string deepName = std::string(259 - dir.size() - 1, 'h');
    ASSERT_TRUE(RunUnixCommand("truncate -s 5000 '" + unixDir + "/" + overName + "' && mkdir '" + unixDir + "/" +
                               deepName + "' && truncate -s 7000 '" + unixDir + "/" + deepName + "/x'"))
        << "could not make the over-long entries from the Linux side";
    EXPECT_EQ(1000u, DirectorySize(dir.c_str()));
}

}  // namespace
