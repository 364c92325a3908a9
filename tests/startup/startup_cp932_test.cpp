// Runs with LC_ALL=ja_JP.UTF-8 (ANSI code page 932): the environment, the settings paths and the
// start-up with a desktop installation and a device directory at double-byte paths whose
// characters end in the byte 0x5C.
#include <gtest/gtest.h>

#include <string>

#include "base/environment.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "startup/discovery.h"
#include "startup/startup.h"
#include "support/desktop_fixture.h"
#include "support/files.h"

namespace {

// Shift-JIS: both characters' trail bytes equal a backslash.
#define HYOU "\x95\x5C"
#define SO "\x83\x5C"
const wchar_t HYOU_W[] = L"\u8868";
const wchar_t SO_W[] = L"\u30BD";

// What the environment holds, as the program's own reader returns it (cut at 259 bytes).
std::string Environment(const char *name)
{
    char value[PATH_BUFFER_SIZE];
    ReadEnvironmentValue(value, COUNTOF(value), name);
    return value;
}

TEST(DoubleByteStartup, ProcessRunsInCodePage932)
{
    ASSERT_EQ(932u, GetACP()) << "the test environment must give code page 932";
}

// The value is set through the wide form, so the case does not rest on the ANSI setter.
TEST(DoubleByteStartup, EnvironmentValuesComeBackWhole)
{
    ASSERT_EQ(932u, GetACP());
    const std::wstring wide = std::wstring(L"C:\\apps\\") + HYOU_W + SO_W;
    const std::string bytes = "C:\\apps\\" HYOU SO;  // 10 characters, 12 bytes
    struct Case {
        DWORD Capacity;
        std::string Expected;
    };
    const Case cases[] = {
        {PATH_BUFFER_SIZE, bytes},
        {13, bytes},                      // exactly room for it and its terminator
        {12, "C:\\apps\\" HYOU},          // cut before a whole character
        {10, "C:\\apps\\"},               // never half a character
        {1, ""},
    };
    ASSERT_TRUE(SetEnvironmentVariableW(L"VELTRANO_TEST_VALUE", wide.c_str()));
    for (const Case &c : cases) {
        char value[PATH_BUFFER_SIZE];
        FillMemory(value, sizeof(value), 'x');
        EXPECT_EQ(bytes.size(), ReadEnvironmentValue(value, c.Capacity, "VELTRANO_TEST_VALUE"))
            << "capacity " << c.Capacity;
        EXPECT_EQ(c.Expected, value) << "capacity " << c.Capacity;
    }
    EXPECT_EQ(bytes.size(), ReadEnvironmentValue(NULL, 0, "VELTRANO_TEST_VALUE"));

    // A name given in double-byte characters is found too.
    const std::wstring wideName = std::wstring(L"VELTRANO_") + HYOU_W;
    ASSERT_TRUE(SetEnvironmentVariableW(wideName.c_str(), L"x"));
    EXPECT_EQ("x", Environment("VELTRANO_" HYOU));
    SetEnvironmentVariableW(wideName.c_str(), NULL);

    char value[PATH_BUFFER_SIZE] = "stale";
    ASSERT_TRUE(SetEnvironmentVariableW(L"VELTRANO_TEST_VALUE", L""));
    EXPECT_EQ(0u, ReadEnvironmentValue(value, COUNTOF(value), "VELTRANO_TEST_VALUE"));
    EXPECT_STREQ("", value);
    SetEnvironmentVariableW(L"VELTRANO_TEST_VALUE", NULL);
    lstrcpyA(value, "stale");
    EXPECT_EQ(0u, ReadEnvironmentValue(value, COUNTOF(value), "VELTRANO_TEST_VALUE"));
    EXPECT_STREQ("", value);
}

TEST(DoubleByteStartup, ExpansionInsertsTheWholeValue)
{
    ASSERT_EQ(932u, GetACP());
    struct Case {
        std::string Value;
        const char *Text;
        std::string Expected;
    };
    std::string hyou129, hyou130;
    for (int i = 0; i < 129; ++i)
        hyou129 += HYOU;
    hyou130 = hyou129 + HYOU;
    const Case cases[] = {
        {"C:\\apps\\" HYOU SO, "%VELTRANO_PATH%\\vtmain.ini", "C:\\apps\\" HYOU SO "\\vtmain.ini"},
        {"C:\\" SO, "[%VELTRANO_PATH%]", "[C:\\" SO "]"},
        // 258 bytes fit the lookup; the result is cut at 259 bytes.
        {hyou129, "%VELTRANO_PATH%\\x", hyou129 + "\\"},
        // 260 bytes do not: the expansion stops as for an unset variable.
        {hyou130, "%VELTRANO_PATH%\\x", "%VELTRANO_PATH%\\x"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(SetEnvironmentVariableA("VELTRANO_PATH", c.Value.c_str()));
        char text[PATH_BUFFER_SIZE];
        CopyBounded(text, COUNTOF(text), c.Text);
        ExpandEnvRefs(text, COUNTOF(text));
        EXPECT_EQ(c.Expected, text) << c.Value.size() << "-byte value";
    }
    SetEnvironmentVariableA("VELTRANO_PATH", NULL);
}

TEST(DoubleByteStartup, SettingsPathsAtDoubleByteNames)
{
    ASSERT_EQ(932u, GetACP());
    const std::string windows = WindowsDirectory();
    ASSERT_NE('\\', windows.back());
    struct Case {
        const char *Path;
        const char *Base;
        std::string Expected;
    };
    const Case cases[] = {
        // A bare name: its trail byte 0x5C is no separator, so it lies in the Windows directory.
        {HYOU ".ini", "c:\\x", windows + "\\" HYOU ".ini"},
        {SO HYOU, "c:\\x", windows + "\\" SO HYOU},
        // ".\" names under a base directory that ends in such a character, with or without a separator.
        {".\\vtmain.ini", "C:\\apps\\" HYOU SO, "C:\\apps\\" HYOU SO "\\vtmain.ini"},
        {".\\" HYOU ".ini", "C:\\apps\\" HYOU SO "\\", "C:\\apps\\" HYOU SO "\\" HYOU ".ini"},
        // A path with a real separator stays as it is.
        {"sub\\" HYOU ".ini", "c:\\x", "sub\\" HYOU ".ini"},
        {"", "c:\\x", windows + "\\vtmain.ini"},
    };
    for (const Case &c : cases) {
        char path[PATH_BUFFER_SIZE];
        CopyBounded(path, COUNTOF(path), c.Path);
        ResolveSettingsPath(path, "vtmain.ini", c.Base);
        EXPECT_EQ(c.Expected, path) << "path \"" << c.Path << "\", base \"" << c.Base << "\"";
    }
}

// The start-up's own steps on a desktop and a device directory at double-byte paths.
TEST(DoubleByteStartup, DesktopAndDeviceAtDoubleBytePaths)
{
    ASSERT_EQ(932u, GetACP());
    DiscoveryDescription desktop;
    desktop.Machine = {TextValue("InstallDir", "{scratch}\\" HYOU SO)};
    desktop.User = {TextValue("IniFileName", "%VELTRANO_PATH%\\vtmain.ini"), TextValue("FtpIniName", ".\\vpx_ftp.ini")};
    desktop.Environment = {{"VELTRANO_PATH", NULL}, {"U3_APP_DATA_PATH", "{scratch}\\" SO "\\Data" HYOU}};
    DesktopFixture fixture(desktop);
    ASSERT_TRUE(fixture.Ready()) << fixture.FailureText();
    const std::string desktopDir = FixturePath("{scratch}\\" HYOU SO);
    const std::string appData = FixturePath("{scratch}\\" SO "\\Data" HYOU);

    ASSERT_TRUE(ReadAppDataPath());
    EXPECT_EQ(appData, InstallState.AppDataPath);
    EXPECT_TRUE(ComposeTargetIniPath());
    EXPECT_EQ(appData + "\\vtmain.ini", InstallState.TargetIniPath);

    LocateDesktopDir();
    EXPECT_EQ(desktopDir, InstallState.DesktopDir);
    EXPECT_EQ(desktopDir, Environment("VELTRANO_PATH"));

    FindDesktopSettings(InstallState.SourceIniPath, InstallState.SourceFtpIniPath);
    EXPECT_EQ(desktopDir + "\\vtmain.ini", InstallState.SourceIniPath);
    EXPECT_EQ(desktopDir + "\\vpx_ftp.ini", InstallState.SourceFtpIniPath);
}

}  // namespace
