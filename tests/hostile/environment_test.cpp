// Environment variables that refer to each other in a cycle: every expansion ends, a settings
// path whose expansion does not fit its buffer is never used cut (the default applies), and a
// path built from such a value names no plugin.
#include <windows.h>

#include <string>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "hostile/hostile_fixture.h"
#include "startup/discovery.h"
#include "startup/startup.h"
#include "support/desktop_fixture.h"
#include "support/hang_guard.h"

using namespace engine_fixture;

namespace hostile {
namespace {

const EnvironmentSpec CYCLE[] = {
    {"CYC_A", "%CYC_B%"},                    // two variables referring to each other
    {"CYC_B", "%CYC_A%"},
    {"CYC_SELF", "%CYC_SELF%"},              // one referring to itself
    {"CYC_GROW", "grow\\%CYC_GROW%"},        // one that grows with every round
};

void SetCycle()
{
    for (const EnvironmentSpec &variable : CYCLE)
        SetEnvironmentVariableA(variable.Name.c_str(), variable.Value);
}

void ClearCycle()
{
    for (const EnvironmentSpec &variable : CYCLE)
        SetEnvironmentVariableA(variable.Name.c_str(), NULL);
}

TEST(HostileEnvironment, CyclesInInstallDirAndIniFileNameEnd)
{
    struct Case {
        const char *Name;
        const char *InstallDir, *IniFileName;
        const char *MainIniStart, *MainIniEnd;
        bool TooLong;  // the expansion does not fit: the default files in the Windows directory
    };
    const Case cases[] = {
        {"two variables", "%CYC_A%\\vt", "%VELTRANO_PATH%\\vtmain.ini", "%CYC_", "%\\vt\\vtmain.ini", false},
        {"a variable referring to itself", "%CYC_SELF%", ".\\vtmain.ini", "%CYC_SELF%\\vtmain.ini", "", false},
        {"a growing variable", "C:\\vt", "%CYC_GROW%\\vtmain.ini", "", "", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        DiscoveryDescription desktop;
        desktop.User = {TextValue("InstallDir", c.InstallDir), TextValue("IniFileName", c.IniFileName),
                        TextValue("FtpIniName", c.IniFileName)};
        desktop.Environment = {{"VELTRANO_PATH", NULL}};
        for (const EnvironmentSpec &variable : CYCLE)
            desktop.Environment.push_back(variable);
        DesktopFixture fixture(desktop);
        ASSERT_TRUE(fixture.Ready()) << fixture.FailureText();
        ResetInstallState();
        RunBounded("the desktop discovery with a cycle", STEP_HANG_GUARD_MS, [] {
            LocateDesktopDir();
            FindDesktopSettings(InstallState.SourceIniPath, InstallState.SourceFtpIniPath);
        });
        EXPECT_EQ(std::string(c.InstallDir), InstallState.DesktopDir) << "the directory is kept as configured";
        std::string main = InstallState.SourceIniPath;
        if (c.TooLong) {
            EXPECT_EQ(FixturePath("{windows}\\vtmain.ini"), main);
            EXPECT_EQ(FixturePath("{windows}\\vpx_ftp.ini"), InstallState.SourceFtpIniPath);
            continue;
        }
        EXPECT_EQ(0u, main.find(c.MainIniStart)) << main;
        EXPECT_GE(main.size(), std::string(c.MainIniEnd).size());
        EXPECT_EQ(c.MainIniEnd, main.substr(main.size() - std::string(c.MainIniEnd).size())) << main;
        EXPECT_EQ(main, std::string(InstallState.SourceFtpIniPath));
    }
}

// Plugin values built on the cycles give no rows; the others are carried over as usual.
TEST_F(HostileTest, CyclesInPluginValuesGiveNoRows)
{
    std::string ini = STANDARD_INI;
    ini += "[FileSystemPlugins]\r\n"
           "pair=%CYC_A%\\plugins\\arc\\arc.vpx\r\n"
           "self=%CYC_SELF%\\arc.vpx\r\n"
           "grow=%CYC_GROW%\\arc.vpx\r\n"
           "tail=%VELTRANO_PATH%\\plugins\\%CYC_A%\\arc.vpx\r\n";
    Kept = StandardKeptFiles();
    SetCycle();
    Prepare(StandardDesktop(ini));
    RunOutcome run;
    RunBounded("the whole run with cycles", RUN_HANG_GUARD_MS, [&] { run = RunWizard(RunChoices()); });
    ClearCycle();
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_NO_FATAL_FAILURE(ExpectStandardPluginRows(run));
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("<absent>", ProfileValue(portable, "FileSystemPlugins", "pair"));
    EXPECT_EQ(StandardDeviceTree(), ListTree(Device));
}

}  // namespace
}  // namespace hostile
