// U3_APP_DATA_PATH at and past the length its files allow: the real program refuses a path whose
// "\vtmain.ini" would not fit, and a path just short enough gives a run in which every device
// path is either whole or not used, never cut.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "hostile/hostile_fixture.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "support/process.h"
#include "support/windows.h"

using namespace engine_fixture;

namespace hostile {
namespace {


// A directory path of exactly `length` characters below a fresh temporary directory.
std::string PathOfLength(const std::string &root, size_t length)
{
    std::string path = root + "\\";
    path += std::string(length - path.size(), 'd');
    return path;
}

struct StartedProgram {
    PROCESS_INFORMATION Process = {};
    bool Started = false;
    ~StartedProgram()
    {
        if (Started) {
            TerminateProcess(Process.hProcess, 99);
            CloseHandle(Process.hProcess);
            CloseHandle(Process.hThread);
        }
    }
};

TEST(HostileAppDataPath, TheProgramRefusesPathsWhoseFilesWouldNotFit)
{
    struct Case {
        size_t Length;
        bool Refused;
    };
    const Case cases[] = {{250, true}, {249, true}, {248, false}};
    std::string root = UniqueTempDirectory("appdata");
    for (const Case &c : cases) {
        SCOPED_TRACE("U3_APP_DATA_PATH of " + std::to_string(c.Length) + " characters");
        std::string device = PathOfLength(root, c.Length);
        ASSERT_EQ(c.Length, device.size());
        MakeDirectories(device);
        std::string outsideBefore = TreeChecksum(root), placesBefore = PlacesOutsideChecksum(root);

        std::vector<char> environment = EnvironmentBlock({{"U3_APP_DATA_PATH", device.c_str()},
                                                          {"U3_IS_UPGRADE", NULL},
                                                          {"VELTRANO_PATH", NULL}});
        StartedProgram run;
        ASSERT_TRUE(StartProgram("\"" + ProgramBesideTest("stickinstall.exe") + "\"", &environment, &run.Process));
        run.Started = true;
        DWORD code = 99;
        if (c.Refused) {
            HWND box = WaitForProcessWindow(run.Process.dwProcessId, "Install Error", PROCESS_HANG_GUARD_MS);
            ASSERT_NE(nullptr, box) << "no refusal box appeared";
            std::vector<std::string> texts = ChildTexts(box);
            EXPECT_NE(texts.end(),
                      std::find(texts.begin(), texts.end(), "The application data path of the U3 device is too long!"));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(WaitForExit(run.Process.hProcess, PROCESS_HANG_GUARD_MS, &code)) << "did not end after OK";
            EXPECT_EQ(1u, code);
        } else {
            HWND sheet = WaitForProcessWindow(run.Process.dwProcessId, "Veltrano USB installer", PROCESS_HANG_GUARD_MS);
            ASSERT_NE(nullptr, sheet) << "the wizard did not open";
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            ASSERT_TRUE(WaitForExit(run.Process.hProcess, PROCESS_HANG_GUARD_MS, &code)) << "did not end after Cancel";
            EXPECT_EQ(0u, code);
        }
        EXPECT_TRUE(ListTree(device).empty()) << "the device directory was written to";
        EXPECT_EQ(outsideBefore, TreeChecksum(root));
        EXPECT_EQ(placesBefore, PlacesOutsideChecksum(root));
    }
    RemoveTree(root);
}

// 248 characters: vtmain.ini and the extra settings files fit exactly (259); the FTP and button
// bar files and the plugin tree would not, and are left out rather than written under cut names.
TEST_F(HostileTest, AppDataPathJustShortEnoughUsesNoCutPath)
{
    std::string ini = STANDARD_INI;
    ini += "[buttonbar]\r\nbuttonbar=bars\\default.bar\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.ButtonBarPath = "bars\\default.bar";
    desktop.ButtonBarContent = "[Buttonbar]\r\n";
    Kept = {{"extra1.ini", "[device]\r\n"}};
    std::string root = UniqueTempDirectory("appdata248");
    ExtraRoots.push_back(root);
    std::string device = PathOfLength(root, 248);
    MakeDirectories(device);
    Prepare(desktop, device);
    ASSERT_EQ(259, lstrlenA(InstallState.TargetIniPath));

    RunOutcome run = RunWizardAnswering({IDOK, IDOK});
    ASSERT_TRUE(run.Finished);
    std::vector<std::string> expected = {"Plugins\\", "extra1.ini", "extra2.ini", "vtmain.ini"};
    EXPECT_EQ(expected, ListTree(Device));
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("%U3_APP_DATA_PATH%", ProfileValue(portable, "configuration", "TabDir"));
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "arc"));
    EXPECT_EQ("<absent>", ProfileValue(portable, "ListerPlugins", "0"));
    // Each checked plugin that cannot be placed is reported, not passed over in silence.
    ASSERT_EQ(2u, run.Boxes.size());
    for (const DialogSeen &box : run.Boxes)
        EXPECT_EQ("Error copying file!", box.Text);
    EXPECT_EQ(device + "\\Plugins\\vpx\\arc\\", run.Boxes[0].Caption);
    EXPECT_EQ(device + "\\Plugins\\vlx\\imgview\\", run.Boxes[1].Caption);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
}

}  // namespace
}  // namespace hostile
