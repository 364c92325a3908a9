// Desktop discovery against real registry values and settings files in the test prefix.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "startup/discovery.h"
#include "startup/startup.h"
#include "support/desktop_fixture.h"
#include "support/files.h"

namespace {

const char UNSET[] = "<unset>";

std::string Variable(const char *name)
{
    char value[PATH_BUFFER_SIZE];
    SetLastError(ERROR_SUCCESS);
    DWORD got = GetEnvironmentVariableA(name, value, COUNTOF(value));
    if (got == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return UNSET;
    return got < COUNTOF(value) ? value : "<too long>";
}

std::string Settings(const char *installDir)
{
    return std::string("[Configuration]\r\nInstallDir=") + installDir + "\r\n";
}

// A desktop whose VELTRANO_PATH starts unset, unless the case sets it itself.
DiscoveryDescription WithVeltranoPathUnset(const DiscoveryDescription &desktop)
{
    DiscoveryDescription result = desktop;
    result.Environment.insert(result.Environment.begin(), EnvironmentSpec{"VELTRANO_PATH", NULL});
    return result;
}

struct DiscoveryCase {
    const char *Name;
    DiscoveryDescription Desktop;
    std::string FoundDir;      // FindDesktopDir, raw
    std::string DesktopDir;    // after the start-up stripped it
    std::string VeltranoPath;  // UNSET: not exported
    std::string MainIni;
    std::string FtpIni;
};

// The start-up's own order: directory, export, then the settings paths.
void RunDiscovery(const DiscoveryCase &c)
{
    SCOPED_TRACE(c.Name);
    DesktopFixture fixture(WithVeltranoPathUnset(c.Desktop));
    if (!fixture.Ready()) {
        ADD_FAILURE() << "fixture: " << fixture.FailureText();
        return;
    }
    char found[PATH_BUFFER_SIZE];
    FindDesktopDir(found, COUNTOF(found));
    EXPECT_EQ(FixturePath(c.FoundDir), found);

    lstrcpyA(InstallState.DesktopDir, "stale");
    LocateDesktopDir();
    EXPECT_EQ(FixturePath(c.DesktopDir), InstallState.DesktopDir);
    EXPECT_EQ(c.VeltranoPath == UNSET ? c.VeltranoPath : FixturePath(c.VeltranoPath), Variable("VELTRANO_PATH"));

    lstrcpyA(InstallState.SourceIniPath, "stale");
    lstrcpyA(InstallState.SourceFtpIniPath, "stale");
    FindDesktopSettings(InstallState.SourceIniPath, InstallState.SourceFtpIniPath);
    EXPECT_EQ(FixturePath(c.MainIni), InstallState.SourceIniPath);
    EXPECT_EQ(FixturePath(c.FtpIni), InstallState.SourceFtpIniPath);
}

// Directory and names of 243 + 1 + 15 characters fill a path buffer exactly.
const std::string LONG_DIR = "d:\\" + std::string(240, 'd');
const std::string NAME_15 = "vtmain-15ch.ini";
const std::string NAME_16 = "vtmain-16chr.ini";

TEST(Discovery, RegistrySettingsFileAndDefaults)
{
    const std::string defaultMain = "{windows}\\vtmain.ini";
    const std::string defaultFtp = "{windows}\\vpx_ftp.ini";
    const std::string overlong = "d:\\" + std::string(297, 'x');
    const std::string dir259 = LONG_DIR + "\\" + std::string(15, 'e');
    const DiscoveryCase cases[] = {
        {"nothing in the registry: defaults, and the default file is not asked for the directory",
         {{}, {}, {{"{windows}\\vtmain.ini", Settings("d:\\Wrong")}}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", defaultMain, defaultFtp},
        {"a key without any of the values",
         {{}, {TextValue("Version", "7.0")}, {}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", defaultMain, defaultFtp},
        {"IniFileName in both hives: the user's wins, for the path and for the directory lookup",
         {{TextValue("IniFileName", "{scratch}\\machine\\vtmain.ini")},
          {TextValue("IniFileName", "{scratch}\\user\\vtmain.ini")},
          {{"{scratch}\\machine\\vtmain.ini", Settings("d:\\Machine")},
           {"{scratch}\\user\\vtmain.ini", Settings("d:\\User")}}, {}, ""},
         "d:\\User", "d:\\User", "d:\\User", "{scratch}\\user\\vtmain.ini", defaultFtp},
        {"FtpIniName only from the machine, IniFileName only from the user",
         {{TextValue("FtpIniName", "d:\\Machine\\vpx_ftp.ini")}, {TextValue("IniFileName", "d:\\User\\vtmain.ini")},
          {}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "d:\\User\\vtmain.ini", "d:\\Machine\\vpx_ftp.ini"},
        {"InstallDir in both hives: the user's wins",
         {{TextValue("InstallDir", "d:\\Machine")}, {TextValue("InstallDir", "d:\\User\\")}, {}, {}, ""},
         "d:\\User\\", "d:\\User", "d:\\User", defaultMain, defaultFtp},
        {"InstallDir in the registry: the settings file is not asked",
         {{TextValue("InstallDir", "d:\\Machine")}, {TextValue("IniFileName", "vtdesk.ini")},
          {{"{windows}\\vtdesk.ini", Settings("d:\\Wrong")}}, {}, ""},
         "d:\\Machine", "d:\\Machine", "d:\\Machine", "{windows}\\vtdesk.ini", defaultFtp},
        {"empty IniFileName of the user wins over the machine's path",
         {{TextValue("IniFileName", "{scratch}\\machine.ini")}, {TextValue("IniFileName", "")},
          {{"{scratch}\\machine.ini", Settings("d:\\Machine")}}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", defaultMain, defaultFtp},
        {"empty IniFileName stored with no bytes at all still wins",
         {{TextValue("IniFileName", "{scratch}\\machine.ini")}, {RawValue("IniFileName", REG_SZ, "")},
          {{"{scratch}\\machine.ini", Settings("d:\\Machine")}}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", defaultMain, defaultFtp},
        {"empty InstallDir of the user wins; the settings file is asked then",
         {{TextValue("InstallDir", "d:\\Machine")},
          {TextValue("InstallDir", ""), TextValue("IniFileName", "{scratch}\\vtmain.ini")},
          {{"{scratch}\\vtmain.ini", Settings("d:\\FromFile")}}, {}, ""},
         "d:\\FromFile", "d:\\FromFile", "d:\\FromFile", "{scratch}\\vtmain.ini", defaultFtp},
        {"over-long IniFileName of the user counts as absent: the machine's applies",
         {{TextValue("IniFileName", "d:\\Machine\\vtmain.ini")}, {TextValue("IniFileName", overlong)}, {}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "d:\\Machine\\vtmain.ini", defaultFtp},
        {"bare file name: read from the Windows directory, not the current one",
         {{}, {TextValue("IniFileName", "vtdesk.ini")},
          {{"{windows}\\vtdesk.ini", Settings("d:\\Desk\\")}, {"{scratch}\\vtdesk.ini", Settings("d:\\Wrong")}},
          {}, "{scratch}"},
         "d:\\Desk\\", "d:\\Desk", "d:\\Desk", "{windows}\\vtdesk.ini", defaultFtp},
        {"absolute IniFileName whose file has InstallDir",
         {{}, {TextValue("IniFileName", "{scratch}\\desk\\vtmain.ini")},
          {{"{scratch}\\desk\\vtmain.ini", "[Other]\r\nKey=1\r\n" + Settings("e:\\Programs\\Veltrano")}}, {}, ""},
         "e:\\Programs\\Veltrano", "e:\\Programs\\Veltrano", "e:\\Programs\\Veltrano",
         "{scratch}\\desk\\vtmain.ini", defaultFtp},
        {"absolute IniFileName whose file lacks InstallDir in Configuration",
         {{}, {TextValue("IniFileName", "{scratch}\\vtmain.ini")},
          {{"{scratch}\\vtmain.ini", "[Configuration]\r\nLanguage=deu\r\n[Other]\r\nInstallDir=d:\\Wrong\r\n"}},
          {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "{scratch}\\vtmain.ini", defaultFtp},
        {"absolute IniFileName naming no file",
         {{}, {TextValue("IniFileName", "{scratch}\\missing\\vtmain.ini")}, {}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "{scratch}\\missing\\vtmain.ini", defaultFtp},
        {"dot-backslash names with InstallDir ending in a backslash: no doubled separator",
         {{TextValue("InstallDir", "d:\\Desk\\")},
          {TextValue("IniFileName", ".\\vtmain.ini"), TextValue("FtpIniName", ".\\vpx_ftp.ini")}, {}, {}, ""},
         "d:\\Desk\\", "d:\\Desk", "d:\\Desk", "d:\\Desk\\vtmain.ini", "d:\\Desk\\vpx_ftp.ini"},
        {"dot-backslash name with InstallDir without a backslash",
         {{}, {TextValue("InstallDir", "d:\\Desk"), TextValue("IniFileName", ".\\conf\\vtmain.ini")}, {}, {}, ""},
         "d:\\Desk", "d:\\Desk", "d:\\Desk", "d:\\Desk\\conf\\vtmain.ini", defaultFtp},
        {"dot-backslash name without InstallDir: the file is never read, even where it exists",
         {{}, {TextValue("IniFileName", ".\\vtmain.ini")}, {{"{scratch}\\vtmain.ini", Settings("d:\\Wrong")}}, {},
          "{scratch}"},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm\\vtmain.ini", defaultFtp},
        {"VELTRANO_PATH names with InstallDir in the registry",
         {{},
          {TextValue("InstallDir", "d:\\Desk\\"), TextValue("IniFileName", "%VELTRANO_PATH%\\vtmain.ini"),
           RawValue("FtpIniName", REG_EXPAND_SZ, std::string("%VELTRANO_PATH%\\vpx_ftp.ini") + '\0')},
          {}, {}, ""},
         "d:\\Desk\\", "d:\\Desk", "d:\\Desk", "d:\\Desk\\vtmain.ini", "d:\\Desk\\vpx_ftp.ini"},
        {"VELTRANO_PATH name without InstallDir: the name is not expanded for the directory lookup",
         {{}, {TextValue("IniFileName", "%VELTRANO_PATH%\\vtmain.ini")}, {{"{scratch}\\vtmain.ini", Settings("d:\\Wrong")}},
          {{"VELTRANO_PATH", "{scratch}"}}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm\\vtmain.ini", defaultFtp},
        {"InstallDir referring to another variable: kept raw, settings paths fully expanded",
         {{},
          {TextValue("InstallDir", "%VT_DRIVE%\\Veltrano\\"), TextValue("IniFileName", "%VELTRANO_PATH%\\vtmain.ini"),
           TextValue("FtpIniName", ".\\vpx_ftp.ini")},
          {}, {{"VT_DRIVE", "d:"}}, ""},
         "%VT_DRIVE%\\Veltrano\\", "%VT_DRIVE%\\Veltrano", "%VT_DRIVE%\\Veltrano", "d:\\Veltrano\\vtmain.ini",
         "d:\\Veltrano\\vpx_ftp.ini"},
        {"relative and network paths with a backslash stay unchanged; the relative file is read as it is",
         {{},
          {TextValue("IniFileName", "conf\\vtmain.ini"), TextValue("FtpIniName", "\\\\server\\share\\vpx_ftp.ini")},
          {{"{scratch}\\conf\\vtmain.ini", Settings("d:\\Relative")}}, {}, "{scratch}"},
         "d:\\Relative", "d:\\Relative", "d:\\Relative", "conf\\vtmain.ini", "\\\\server\\share\\vpx_ftp.ini"},
        {"a forward slash is no separator: such a name counts as bare",
         {{}, {TextValue("IniFileName", "d:/Desk/vtmain.ini")}, {}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "{windows}\\d:/Desk/vtmain.ini", defaultFtp},
        {"DWORD and binary values are taken as text",
         {{},
          {RawValue("IniFileName", REG_BINARY, "d:\\Bin\\vtmain.ini"), DwordValue("FtpIniName", 0x00707466)},
          {}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "d:\\Bin\\vtmain.ini", "{windows}\\ftp"},
        {"dot-backslash join of exactly 259 characters is made",
         {{}, {TextValue("InstallDir", LONG_DIR), TextValue("IniFileName", ".\\" + NAME_15)}, {}, {}, ""},
         LONG_DIR, LONG_DIR, LONG_DIR, LONG_DIR + "\\" + NAME_15, defaultFtp},
        {"dot-backslash join that would pass 259 characters leaves the name as it came",
         {{}, {TextValue("InstallDir", LONG_DIR), TextValue("IniFileName", ".\\" + NAME_16)}, {}, {}, ""},
         LONG_DIR, LONG_DIR, LONG_DIR, ".\\" + NAME_16, defaultFtp},
        // A value that does not fit is never used cut: it counts as absent, as one too long for
        // the registry does, and the next source or the default applies.
        {"InstallDir of the settings file longer than 259 characters counts as absent",
         {{},
          {TextValue("IniFileName", "{scratch}\\vtmain.ini")},
          {{"{scratch}\\vtmain.ini", Settings(overlong.c_str())}}, {}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "{scratch}\\vtmain.ini", defaultFtp},
        {"InstallDir of the settings file of exactly 259 characters is taken whole",
         {{},
          {TextValue("IniFileName", "{scratch}\\vtmain.ini")},
          {{"{scratch}\\vtmain.ini", Settings(dir259.c_str())}}, {}, ""},
         dir259, dir259, dir259, "{scratch}\\vtmain.ini", defaultFtp},
        {"user's names whose expansion passes 259 characters: the machine's name, the default",
         {{TextValue("IniFileName", "d:\\Machine\\vtmain.ini")},
          {TextValue("IniFileName", "%VT_LONG%\\" + NAME_16), TextValue("FtpIniName", "%VT_LONG%\\" + NAME_16)},
          {}, {{"VT_LONG", LONG_DIR.c_str()}}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", "d:\\Machine\\vtmain.ini", defaultFtp},
        {"user's name whose expansion has exactly 259 characters is taken",
         {{TextValue("IniFileName", "d:\\Machine\\vtmain.ini")},
          {TextValue("IniFileName", "%VT_LONG%\\" + NAME_15)}, {}, {{"VT_LONG", LONG_DIR.c_str()}}, ""},
         "c:\\veltrfm", "c:\\veltrfm", "c:\\veltrfm", LONG_DIR + "\\" + NAME_15, defaultFtp},
    };
    for (const DiscoveryCase &c : cases)
        RunDiscovery(c);
}

struct ExportCase {
    const char *InstallDir;
    const char *DesktopDir;
    const char *VeltranoPath;  // UNSET: not exported
    const char *MainIni;       // from IniFileName ".\vtmain.ini", joined to the raw directory
};

TEST(Discovery, ExportsTheDirectoryWithoutItsTrailingBackslash)
{
    const ExportCase cases[] = {
        {"d:\\Desk\\", "d:\\Desk", "d:\\Desk", "d:\\Desk\\vtmain.ini"},
        {"d:\\Desk", "d:\\Desk", "d:\\Desk", "d:\\Desk\\vtmain.ini"},
        {"d:\\Desk\\\\", "d:\\Desk\\", "d:\\Desk\\", "d:\\Desk\\\\vtmain.ini"},  // only one separator goes
        {"c:\\", "c:", "c:", "c:\\vtmain.ini"},
        {"\\", "", UNSET, "\\vtmain.ini"},  // stripped to nothing: no export at all
    };
    for (const ExportCase &c : cases) {
        SCOPED_TRACE(c.InstallDir);
        DiscoveryCase discovery = {
            "export", {{TextValue("InstallDir", c.InstallDir)}, {TextValue("IniFileName", ".\\vtmain.ini")}, {}, {}, ""},
            c.InstallDir, c.DesktopDir, c.VeltranoPath, c.MainIni, "{windows}\\vpx_ftp.ini"};
        RunDiscovery(discovery);
    }
}

struct ValueCase {
    const char *Name;
    RegistryValueSpec Value;  // stored as IniFileName, FtpIniName and InstallDir
    std::string Expected;     // KEPT: the outputs keep what they held
};

const std::string KEPT(PATH_MAX_CHARS, 'K');

TEST(ReadInstallKey, EveryTypeIsTakenAsTextAndOverlongCountsAsAbsent)
{
    const std::string text258(258, 'a');
    const std::string text259(259, 'b');
    const ValueCase cases[] = {
        {"string", TextValue("", "d:\\a.ini"), "d:\\a.ini"},
        {"empty string", TextValue("", ""), ""},
        {"string of no bytes", RawValue("", REG_SZ, ""), ""},
        {"expandable string, not expanded", RawValue("", REG_EXPAND_SZ, std::string("%VT%\\a.ini") + '\0'),
         "%VT%\\a.ini"},
        {"multi-string: its first string", RawValue("", REG_MULTI_SZ, std::string("a.ini\0b.ini\0\0", 13)), "a.ini"},
        {"DWORD with a zero byte", DwordValue("", 0x00636261), "abc"},
        {"DWORD of four letters, no terminator", DwordValue("", 0x64636261), "abcd"},
        {"DWORD zero", DwordValue("", 0), ""},
        {"binary without terminator", RawValue("", REG_BINARY, "d:\\bin.ini"), "d:\\bin.ini"},
        {"binary up to its first zero byte", RawValue("", REG_BINARY, std::string("ab\0cd", 5)), "ab"},
        {"string of 258 characters fills the 259 bytes", TextValue("", text258), text258},
        {"string of 259 characters needs 260 bytes: absent", TextValue("", text259), KEPT},
        {"binary of 259 bytes without terminator", RawValue("", REG_BINARY, text259), text259},
        {"binary of 260 bytes: absent", RawValue("", REG_BINARY, text259 + "c"), KEPT},
        {"string of 300 characters: absent", TextValue("", std::string(300, 'x')), KEPT},
    };
    for (const ValueCase &c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<RegistryValueSpec> values;
        for (const char *name : {"IniFileName", "FtpIniName", "InstallDir"})
            values.push_back(RawValue(name, c.Value.Type, c.Value.Data));
        DesktopFixture fixture({{}, values, {}, {}, ""});
        if (!fixture.Ready()) {
            ADD_FAILURE() << "fixture: " << fixture.FailureText();
            continue;
        }
        // Filled to the last byte, so that a missing terminator shows as trailing 'K's.
        char first[PATH_BUFFER_SIZE];
        char second[PATH_BUFFER_SIZE];
        lstrcpyA(first, KEPT.c_str());
        lstrcpyA(second, KEPT.c_str());
        ReadInstallKey(HKEY_CURRENT_USER, first, COUNTOF(first), second, COUNTOF(second),
                       INSTALL_KEY_SETTINGS_NAMES);
        EXPECT_EQ(c.Expected, first) << "IniFileName";
        EXPECT_EQ(c.Expected, second) << "FtpIniName";

        lstrcpyA(first, KEPT.c_str());
        ReadInstallKey(HKEY_CURRENT_USER, first, COUNTOF(first), NULL, 0, INSTALL_KEY_INSTALL_DIR);
        EXPECT_EQ(c.Expected, first) << "InstallDir";
    }
}

TEST(ReadInstallKey, ReadsOnlyTheSelectedValuesOfTheGivenHive)
{
    DesktopFixture fixture({{TextValue("IniFileName", "machine.ini")},
                            {TextValue("IniFileName", "user.ini"), TextValue("FtpIniName", "user_ftp.ini"),
                             TextValue("InstallDir", "d:\\User")},
                            {}, {}, ""});
    ASSERT_TRUE(fixture.Ready()) << fixture.FailureText();
    char first[PATH_BUFFER_SIZE] = "kept";
    char second[PATH_BUFFER_SIZE] = "kept";

    ReadInstallKey(HKEY_CURRENT_USER, first, COUNTOF(first), NULL, 0, INSTALL_KEY_SETTINGS_NAMES);
    EXPECT_STREQ("user.ini", first);

    ReadInstallKey(HKEY_CURRENT_USER, first, COUNTOF(first), second, COUNTOF(second), INSTALL_KEY_INSTALL_DIR);
    EXPECT_STREQ("d:\\User", first);
    EXPECT_STREQ("kept", second);

    // The machine has no FtpIniName: the second output keeps the user's value read before.
    ReadInstallKey(HKEY_CURRENT_USER, first, COUNTOF(first), second, COUNTOF(second), INSTALL_KEY_SETTINGS_NAMES);
    ReadInstallKey(HKEY_LOCAL_MACHINE, first, COUNTOF(first), second, COUNTOF(second), INSTALL_KEY_SETTINGS_NAMES);
    EXPECT_STREQ("machine.ini", first);
    EXPECT_STREQ("user_ftp.ini", second);
}

TEST(ReadInstallKey, NoKeyKeepsBothOutputs)
{
    DesktopFixture fixture({{}, {}, {}, {}, ""});
    ASSERT_TRUE(fixture.Ready()) << fixture.FailureText();
    char first[PATH_BUFFER_SIZE] = "kept first";
    char second[PATH_BUFFER_SIZE] = "kept second";
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        ReadInstallKey(hive, first, COUNTOF(first), second, COUNTOF(second), INSTALL_KEY_SETTINGS_NAMES);
        ReadInstallKey(hive, first, COUNTOF(first), NULL, 0, INSTALL_KEY_INSTALL_DIR);
    }
    EXPECT_STREQ("kept first", first);
    EXPECT_STREQ("kept second", second);
}

struct ResolveCase {
    const char *Name;
    std::string Path;
    std::string Base;
    std::string Expected;
};

TEST(ResolveSettingsPath, JoinsThatWouldPass259CharactersAreNotMade)
{
    ASSERT_FALSE(WindowsDirectory().empty());
    const std::string windowsDir = WindowsDirectory() + "\\";
    ASSERT_LT(windowsDir.size(), 200u) << "the cases need room after the Windows directory";
    const std::string bareFits(PATH_MAX_CHARS - windowsDir.size(), 'n');
    const std::string bareTooLong = bareFits + "n";
    const std::string base258 = "d:\\" + std::string(255, 'b');
    const std::string base259 = base258 + "b";
    const std::string base250 = "d:\\" + std::string(247, 'b');

    const ResolveCase cases[] = {
        {"bare name filling the buffer", bareFits, "d:\\Desk", windowsDir + bareFits},
        {"bare name one too long stays bare", bareTooLong, "d:\\Desk", bareTooLong},
        {"dot-backslash alone onto 258 characters and a separator", ".\\", base258, base258 + "\\"},
        {"dot-backslash name onto 258 characters and a separator", ".\\x", base258, ".\\x"},
        {"no room for the separator after 259 characters", ".\\", base259, ".\\"},
        {"259 characters that end in the separator already", ".\\", base258 + "\\", base258 + "\\"},
        // An unresolved path is still expanded, like every other one.
        {"unresolved name is expanded as it came", ".\\%VT_FILE%", base250, ".\\vt.ini"},
    };
    SetEnvironmentVariableA("VT_FILE", "vt.ini");
    for (const ResolveCase &c : cases) {
        SCOPED_TRACE(c.Name);
        char path[PATH_BUFFER_SIZE];
        ASSERT_LE(c.Path.size(), static_cast<size_t>(PATH_MAX_CHARS));
        lstrcpyA(path, c.Path.c_str());
        ResolveSettingsPath(path, "vtmain.ini", c.Base.c_str());
        EXPECT_EQ(c.Expected, path);
    }
    SetEnvironmentVariableA("VT_FILE", NULL);
}

}  // namespace
