// Plugin directories that hold link loops, a 4 GiB sparse file, or paths of 250 characters and
// more: the size shown is what the copy takes, the copy ends, and no name is ever cut.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostile/hostile_fixture.h"
#include "hostile/small_drive.h"
#include "support/files.h"
#include "support/hang_guard.h"
#include "support/unix_side.h"
#include "support/walk_bound.h"

using namespace engine_fixture;

namespace hostile {
namespace {

// Links into the walked path are left out of the size and of the copy; a link to a directory
// beside it is followed once, and its own link back ends there.
TEST_F(HostileTest, LinkLoopsInAPluginDirectoryEnd)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[FileSystemPlugins]\r\n"
                      "loop=%VELTRANO_PATH%\\plugins\\loop\\loop.vfx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\loop\\loop.vfx", std::string(1000, 'l')));
    desktop.Files.push_back(PluginFile("plugins\\loop\\sub\\data.bin", std::string(1000, 'd')));
    desktop.Files.push_back(PluginFile("plugins\\pair\\pair.bin", std::string(500, 'p')));
    Prepare(desktop);
    std::string loop = UnixPathOf((Files.DesktopDir + "\\plugins\\loop").c_str());
    std::string pair = UnixPathOf((Files.DesktopDir + "\\plugins\\pair").c_str());
    ASSERT_TRUE(RunUnixCommand("ln -s . '" + loop + "/self' && ln -s .. '" + loop + "/sub/up' && ln -s '" + loop +
                               "' '" + loop + "/sub/again' && ln -s ../pair '" + loop + "/other' && ln -s ../loop '" +
                               pair + "/back'"))
        << "could not create the links";
    // Bounded first: with a link guard that fails, the run would measure and copy for hours.
    ASSERT_TRUE(WalkOfLinkedTreeEnds(Files.DesktopDir + "\\plugins\\loop"));
    TakeChecksums();

    RunOutcome run;
    RunBounded("the run over link loops", RUN_HANG_GUARD_MS, [&] { run = RunWizard(RunChoices()); });
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_EQ(1u, run.PluginRows.size());
    EXPECT_EQ("3k", run.PluginRows[0].Size) << "2500 bytes: loop.vfx, sub\\data.bin and other\\pair.bin";
    std::vector<std::string> expected = {
        "Plugins\\", "Plugins\\vfx\\", "Plugins\\vfx\\loop\\", "Plugins\\vfx\\loop\\loop.vfx",
        "Plugins\\vfx\\loop\\other\\", "Plugins\\vfx\\loop\\other\\pair.bin", "Plugins\\vfx\\loop\\sub\\",
        "Plugins\\vfx\\loop\\sub\\data.bin", "extra1.ini", "extra2.ini", "vpx_ftp.ini", "vtmain.ini"};
    EXPECT_EQ(expected, ListTree(Device));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vfx\\loop\\loop.vfx",
              ProfileValue(Device + "\\vtmain.ini", "FileSystemPlugins", "loop"));
}

// A 4 GiB sparse file shows its whole size; its copy onto the small drive fills it, the disk-full
// box is answered with OK, the half-written copy is removed and the next plugin still goes.
TEST_F(HostileTest, FourGigabyteSparseFileFillsTheSmallDrive)
{
    std::string device = FreshSmallDriveDirectory("hostile_sparse");
    ASSERT_FALSE(device.empty());
    ExtraRoots.push_back(device);
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                      "huge=%VELTRANO_PATH%\\plugins\\huge\\huge.vpx\r\n"
                      "[ListerPlugins]\r\n0=%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\huge\\huge.vpx", std::string(100, 'h')));
    Kept = {{"extra1.ini", "[device]\r\n"}};
    Prepare(desktop, device);
    std::string big = Files.DesktopDir + "\\plugins\\huge\\big.bin";
    WriteSizedFile(big, 4ull * 1024 * 1024 * 1024);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(big.c_str(), GetFileExInfoStandard, &data));
    ASSERT_EQ(1u, data.nFileSizeHigh) << "no 4 GiB file";
    TakeChecksums();

    RunOutcome run = RunWizardAnswering({IDOK});
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ("4194305k", run.PluginRows[0].Size) << "4 GiB and 100 bytes";
    EXPECT_EQ("4194306k", run.CheckedTotal) << "with the 1k of the Lister plugin";
    EXPECT_NE("0k", run.FreeSpace);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ("Error copying file, Disk full!", run.Boxes[0].Text);
    EXPECT_EQ(device + "\\Plugins\\vpx\\huge\\big.bin", run.Boxes[0].Caption);
    EXPECT_EQ("Installation complete!", run.OutcomeText) << "OK goes on with the next plugin";
    EXPECT_FALSE(PathExists(device + "\\Plugins\\vpx\\huge\\big.bin")) << "the half-written copy stayed";
    EXPECT_TRUE(PathExists(device + "\\Plugins\\vlx\\imgview\\imgview.vlx"));
    std::string portable = device + "\\vtmain.ini";
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "huge"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx", ProfileValue(portable, "ListerPlugins", "0"));
}

// Entries whose device path fits (259 characters) arrive under their whole names; one that would
// need 260 is reported, and nothing is written under a cut name.
TEST_F(HostileTest, PathsOf250CharactersAndMore)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                      "deep=%VELTRANO_PATH%\\plugins\\deep\\deep.vpx\r\n"
                      "deeper=%VELTRANO_PATH%\\plugins\\deeper\\deeper.vpx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\deep\\deep.vpx", "deep"));
    Prepare(desktop);
    const std::string middle(100, 'm');
    // Entry paths below the plugin directory, padded so that the device path has `length` characters.
    auto relativeOfLength = [&](const std::string &plugin, size_t length) {
        std::string prefix = Device + "\\Plugins\\vpx\\" + plugin + "\\" + middle + "\\";
        return middle + "\\" + std::string(length - prefix.size(), 'n');
    };
    std::string fits = relativeOfLength("deep", 259), over = relativeOfLength("deeper", 260);
    std::string sourceFits = Files.DesktopDir + "\\plugins\\deep\\" + fits;
    std::string sourceOver = Files.DesktopDir + "\\plugins\\deeper\\" + over;
    ASSERT_GE(sourceFits.size(), 250u);
    ASSERT_LE(sourceOver.size(), 259u) << "the source side must still be readable";
    ASSERT_TRUE(WriteTextFile(sourceFits, "fits"));
    ASSERT_TRUE(WriteTextFile(sourceOver, "over"));
    std::string exactly250 = Files.DesktopDir + "\\plugins\\deep\\";
    exactly250 += std::string(250 - exactly250.size(), 'q');
    ASSERT_TRUE(WriteTextFile(exactly250, "250"));
    TakeChecksums();

    RunOutcome run = RunWizardAnswering({IDOK});
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ("1k", run.PluginRows[0].Size);
    EXPECT_EQ("1k", run.PluginRows[1].Size);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ("Error copying file!", run.Boxes[0].Text);
    EXPECT_EQ(Device + "\\Plugins\\vpx\\deeper\\" + over, run.Boxes[0].Caption);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    std::vector<std::string> expected = {
        "Plugins\\", "Plugins\\vpx\\", "Plugins\\vpx\\deep\\", "Plugins\\vpx\\deep\\deep.vpx",
        "Plugins\\vpx\\deep\\" + middle + "\\",
        "Plugins\\vpx\\deep\\" + fits, "Plugins\\vpx\\deep\\" + exactly250.substr(exactly250.rfind('\\') + 1),
        "Plugins\\vpx\\deeper\\", "Plugins\\vpx\\deeper\\" + middle + "\\", "extra1.ini", "extra2.ini",
        "vpx_ftp.ini", "vtmain.ini"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, ListTree(Device));
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vpx\\deep\\deep.vpx", ProfileValue(portable, "PackerPlugins", "deep"));
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "deeper"));
}

}  // namespace
}  // namespace hostile
