// A device drive that fills up in the middle of a plugin copy (the small tmpfs drive): the
// disk-full box is shown, no half-written file remains, and the run ends with the outcome the
// answer asks for.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "hostile/hostile_fixture.h"
#include "hostile/small_drive.h"

using namespace engine_fixture;

namespace hostile {
namespace {

const char FULL_INI[] =
    "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n"
    "[PackerPlugins]\r\n"
    "fat=%VELTRANO_PATH%\\plugins\\fat\\fat.vpx\r\n"
    "thin=%VELTRANO_PATH%\\plugins\\thin\\thin.vpx\r\n";

struct FullDriveCase {
    const char *Name;
    int Answer;
    const char *Outcome;
    bool ThinCopied;
};

void PrintTo(const FullDriveCase &c, std::ostream *out)
{
    *out << c.Name;
}

class DeviceDriveFillsUpMidCopy : public HostileTest, public testing::WithParamInterface<FullDriveCase> {};

TEST_P(DeviceDriveFillsUpMidCopy, EndsAsAnswered)
{
    const FullDriveCase &c = GetParam();
    std::string device = FreshSmallDriveDirectory("hostile_full");
    ASSERT_FALSE(device.empty());
    ExtraRoots.push_back(device);
    DesktopDescription desktop = StandardDesktop(FULL_INI);
    desktop.Files.push_back(PluginFile("plugins\\fat\\fat.vpx", std::string(1000, 'f')));
    desktop.Files.push_back(PluginFile("plugins\\fat\\big.bin", std::string(700 * 1024, 'b')));
    desktop.Files.push_back(PluginFile("plugins\\thin\\thin.vpx", std::string(1000, 't')));
    Kept = {{"extra1.ini", "[device]\r\n"}, {"Plugins\\vpx\\fat\\fat.vpx", std::string(1000, 'f')}};
    Prepare(desktop, device);

    RunOutcome run = RunWizardAnswering({c.Answer});
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ("Error copying file, Disk full!", run.Boxes[0].Text);
    EXPECT_EQ(device + "\\Plugins\\vpx\\fat\\big.bin", run.Boxes[0].Caption);
    EXPECT_EQ(c.Outcome, run.OutcomeText);
    EXPECT_FALSE(PathExists(device + "\\Plugins\\vpx\\fat\\big.bin")) << "the half-written copy stayed";
    EXPECT_EQ(c.ThinCopied, PathExists(device + "\\Plugins\\vpx\\thin\\thin.vpx"));
    EXPECT_EQ(c.ThinCopied, PathExists(device + "\\extra2.ini")) << "the extra settings files";
    std::string portable = device + "\\vtmain.ini";
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "fat"));
    EXPECT_EQ(c.ThinCopied ? "%U3_APP_DATA_PATH%\\Plugins\\vpx\\thin\\thin.vpx" : "<absent>",
              ProfileValue(portable, "PackerPlugins", "thin"));
    EXPECT_EQ("%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng", ProfileValue(portable, "Configuration", "LanguageIni"))
        << "the language is recorded after a cancel too";
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ(c.ThinCopied ? device + "\\Plugins\\vpx\\thin\\" : "", run.PluginRows[1].CopiedTo);
}

INSTANTIATE_TEST_SUITE_P(HostileTest, DeviceDriveFillsUpMidCopy,
                         testing::Values(FullDriveCase{"AnsweredOk", IDOK, "Installation complete!", true},
                                         FullDriveCase{"AnsweredCancel", IDCANCEL, "Installation of plugins aborted!",
                                                       false}),
                         [](const testing::TestParamInfo<FullDriveCase> &info) { return std::string(info.param.Name); });

// A main settings file larger than the whole drive: its copy is reported, and no half of it
// stays (it would end in a cut value); the portable keys and the language then go into a fresh
// file, which now has room, and so do the plugins and the extra settings files, whole.
TEST_F(HostileTest, MainSettingsFileLargerThanTheDevice)
{
    std::string device = FreshSmallDriveDirectory("hostile_big_ini");
    ASSERT_FALSE(device.empty());
    ExtraRoots.push_back(device);
    std::string ini = STANDARD_INI;
    ini += "[History]\r\n";
    for (int line = 0; ini.size() < 700 * 1024; ++line)
        ini += "h" + std::to_string(line) + "=C:\\Users\\someone\\Documents\\projects\\file.txt\r\n";
    Prepare(StandardDesktop(ini), device);
    RunOutcome run = RunWizardAnswering({IDOK});
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ("Error copying file, Disk full!", run.Boxes[0].Text);
    EXPECT_EQ(device + "\\vtmain.ini", run.Boxes[0].Caption);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    EXPECT_EQ(StandardDeviceTree(), ListTree(device));
    std::string extra;
    EXPECT_TRUE(ReadFileBytes(device + "\\extra1.ini", &extra));
    EXPECT_EQ("[one]\r\n", extra) << "an extra settings file is whole or absent";
    std::string portable = device + "\\vtmain.ini";
    EXPECT_EQ("<absent>", ProfileValue(portable, "History", "h0")) << "a part of the desktop file stayed";
    EXPECT_EQ("%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.mnu", ProfileValue(portable, "Configuration", "Mainmenu"));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx", ProfileValue(portable, "PackerPlugins", "arc"));
}

}  // namespace
}  // namespace hostile
