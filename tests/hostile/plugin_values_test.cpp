// Plugin values whose file names would not give a directory of their own right under the kind's
// subdirectory: "..", '/', ':', empty base names and reserved device names (a folder "nul" is
// the null device, whatever its extension). The page lists them (their directories
// exist), the transfer puts each to the user and skips it, and nothing lands outside
// Plugins\<kind>\<base name>\.
#include <windows.h>

#include <string>
#include <vector>

#include "hostile/hostile_fixture.h"

using namespace engine_fixture;

namespace hostile {
namespace {

TEST_F(HostileTest, UnsafeBaseNamesAreSkipped)
{
    std::string ini = STANDARD_INI;
    ini += "[FileSystemPlugins]\r\n"
           "dots=%VELTRANO_PATH%\\plugins\\evil\\...vfx\r\n"       // base name ".."
           "dot=%VELTRANO_PATH%\\plugins\\evil\\..vfx\r\n"         // base name "."
           "up=%VELTRANO_PATH%\\plugins\\evil\\..\r\n"             // file "..", base name "."
           "empty=%VELTRANO_PATH%\\plugins\\evil\\.vfx\r\n"        // base name ""
           "slash=%VELTRANO_PATH%\\plugins\\evil\\a/../../../x.vfx\r\n"
           "colon=%VELTRANO_PATH%\\plugins\\evil\\c:x.vfx\r\n"
           "stream=%VELTRANO_PATH%\\plugins\\evil\\x:stream.vfx\r\n"
           "nul=%VELTRANO_PATH%\\plugins\\evil\\Nul.vfx\r\n"
           "com=%VELTRANO_PATH%\\plugins\\evil\\com9.x.vfx\r\n"     // base name "com9.x"
           "lpt=%VELTRANO_PATH%\\plugins\\evil\\LPT1\r\n"           // no extension
           "prn=%VELTRANO_PATH%\\plugins\\evil\\Prn .tar.vfx\r\n"   // blank before the dot
           "fine=%VELTRANO_PATH%\\plugins\\evil\\good.vfx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\evil\\good.vfx", "evil plugin"));
    desktop.Files.push_back(PluginFile("plugins\\evil\\sub\\data.bin", "evil data"));
    Kept = StandardKeptFiles();
    Prepare(desktop);
    RunOutcome run = RunWizardAnswering(std::vector<int>(11, IDOK));
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    std::vector<std::string> captions;
    for (const DialogSeen &box : run.Boxes) {
        EXPECT_EQ("Error copying file!", box.Text);
        captions.push_back(box.Caption);
    }
    const std::vector<std::string> leftOut = {"File System: dots", "File System: dot",   "File System: up",
                                              "File System: empty", "File System: slash", "File System: colon",
                                              "File System: stream", "File System: nul",   "File System: com",
                                              "File System: lpt",    "File System: prn"};
    EXPECT_EQ(leftOut, captions) << "each plugin left out is named to the user";
    ASSERT_EQ(14u, run.PluginRows.size()) << "each registration with an existing directory is listed";
    std::vector<std::string> expected =
        TreeEdited(StandardDeviceTree(), {"Plugins\\vfx\\", "Plugins\\vfx\\good\\", "Plugins\\vfx\\good\\good.vfx",
                                          "Plugins\\vfx\\good\\sub\\", "Plugins\\vfx\\good\\sub\\data.bin"});
    EXPECT_EQ(expected, ListTree(Device));
    std::string portable = Device + "\\vtmain.ini";
    for (const char *key :
         {"dots", "dot", "up", "empty", "slash", "colon", "stream", "nul", "com", "lpt", "prn"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ("<absent>", ProfileValue(portable, "FileSystemPlugins", key));
    }
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vfx\\good\\good.vfx", ProfileValue(portable, "FileSystemPlugins", "fine"));
    for (const ListedPluginRow &row : run.PluginRows) {
        if (row.Label != "File System: fine" && row.Label.compare(0, 13, "File System: ") == 0) {
            EXPECT_EQ("", row.CopiedTo) << row.Label;
        }
    }
}

}  // namespace
}  // namespace hostile
