// The start-up steps run inside the test process, on its own environment.
#include <gtest/gtest.h>

#include <string>

#include "base/install_state.h"
#include "startup/startup.h"

namespace {

struct UpgradeCase {
    const char *Value;  // NULL: unset
    int Expected;
};

TEST(StartupSteps, UpgradeMode)
{
    const UpgradeCase cases[] = {
        {"true", 1}, {"TRUE", 1}, {"True", 1}, {"1", 1},
        {"yes", 0}, {"0", 0}, {"", 0}, {" true", 0}, {"true ", 0}, {"11", 0}, {NULL, 0},
    };
    for (const UpgradeCase &c : cases) {
        SetEnvironmentVariableA("U3_IS_UPGRADE", c.Value);
        InstallState.UpgradeMode = -1;
        ReadUpgradeMode();
        EXPECT_EQ(c.Expected, InstallState.UpgradeMode) << "value: " << (c.Value ? c.Value : "unset");
    }
    SetEnvironmentVariableA("U3_IS_UPGRADE", NULL);
}

TEST(StartupSteps, AppDataPathAndTarget)
{
    SetEnvironmentVariableA("U3_APP_DATA_PATH", NULL);
    lstrcpyA(InstallState.AppDataPath, "stale");
    EXPECT_FALSE(ReadAppDataPath());
    EXPECT_STREQ("", InstallState.AppDataPath);

    SetEnvironmentVariableA("U3_APP_DATA_PATH", "");
    EXPECT_FALSE(ReadAppDataPath());

    SetEnvironmentVariableA("U3_APP_DATA_PATH", "e:\\System\\Apps\\veltrano\\Data");
    ASSERT_TRUE(ReadAppDataPath());
    ComposeTargetIniPath();
    EXPECT_STREQ("e:\\System\\Apps\\veltrano\\Data\\vtmain.ini", InstallState.TargetIniPath);

    // A trailing backslash is kept: the target then holds two separators in a row.
    SetEnvironmentVariableA("U3_APP_DATA_PATH", "e:\\Data\\");
    ASSERT_TRUE(ReadAppDataPath());
    ComposeTargetIniPath();
    EXPECT_STREQ("e:\\Data\\\\vtmain.ini", InstallState.TargetIniPath);
    SetEnvironmentVariableA("U3_APP_DATA_PATH", NULL);
}

TEST(StartupSteps, AppDataPathsThatDoNotFitAreReported)
{
    struct LengthCase {
        size_t Length;
        bool Fits;
    };
    // "\vtmain.ini" takes 11 of the 259 characters.
    const LengthCase cases[] = {{248, true}, {249, false}, {259, false}, {300, false}};
    for (const LengthCase &c : cases) {
        std::string path = "e:\\" + std::string(c.Length - 3, 'd');
        SetEnvironmentVariableA("U3_APP_DATA_PATH", path.c_str());
        ASSERT_TRUE(ReadAppDataPath());
        EXPECT_EQ(path.substr(0, PATH_MAX_CHARS), InstallState.AppDataPath);
        EXPECT_EQ(c.Fits, ComposeTargetIniPath() != 0) << c.Length << " characters";
        if (c.Fits) {
            EXPECT_EQ(path + "\\vtmain.ini", InstallState.TargetIniPath);
        }
    }
    SetEnvironmentVariableA("U3_APP_DATA_PATH", NULL);
}

}  // namespace
