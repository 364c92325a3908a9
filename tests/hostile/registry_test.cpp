// Registry values of the wrong type or too long, through the desktop discovery in this process:
// every result is a terminated text of at most 259 characters in its own buffer, a value that
// does not fit counts as absent, and the registry is only read.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "base/install_state.h"
#include "hostile/hostile_fixture.h"
#include "startup/discovery.h"
#include "startup/startup.h"
#include "support/desktop_fixture.h"
#include "support/files.h"
#include "support/hang_guard.h"
#include "support/registry_snapshot.h"

namespace hostile {
namespace {

// A path buffer between two guard areas that no call may touch.
struct GuardedBuffer {
    char Before[64];
    char Path[PATH_BUFFER_SIZE];
    char After[64];
    GuardedBuffer()
    {
        memset(Before, 0x5A, sizeof(Before));
        memset(Path, 0x5A, sizeof(Path));
        Path[0] = '\0';
        memset(After, 0x5A, sizeof(After));
    }
    bool GuardsIntact() const
    {
        for (char c : Before)
            if (c != 0x5A)
                return false;
        for (char c : After)
            if (c != 0x5A)
                return false;
        return true;
    }
    bool Terminated() const { return memchr(Path, '\0', sizeof(Path)) != NULL; }
};

struct RegistryCase {
    const char *Name;
    std::vector<RegistryValueSpec> User;
    std::string DesktopDir;  // after LocateDesktopDir; also VELTRANO_PATH
    std::string MainIni;     // FindDesktopSettings
    std::string FtpIni;
};

TEST(HostileRegistry, WrongTypesAndOverlongValuesAreReadAsBoundedText)
{
    const std::string overlong(300, 'L');
    const std::string fits258 = "C:\\" + std::string(255, 'f');  // 258 characters and the terminator: 259 bytes
    const std::string binary259(259, 'b');                         // no terminator, exactly the capacity
    const DWORD dword = 0x00434241;                                 // "ABC" and a zero byte
    const std::string dwordText(reinterpret_cast<const char *>(&dword), 4);
    const std::string ini = WindowsFile("vtmain.ini"), ftp = WindowsFile("vpx_ftp.ini");
    const RegistryCase cases[] = {
        {"InstallDir as a DWORD", {DwordValue("InstallDir", dword)}, "ABC", ini, ftp},
        {"InstallDir as a DWORD of four letters", {DwordValue("InstallDir", 0x44434241)}, "ABCD", ini, ftp},
        {"InstallDir as a DWORD of zero: present but empty, default", {DwordValue("InstallDir", 0)}, "c:\\veltrfm", ini,
         ftp},
        {"InstallDir binary, 259 bytes without a terminator", {RawValue("InstallDir", REG_BINARY, binary259)},
         binary259, ini, ftp},
        {"InstallDir binary, 260 bytes: absent", {RawValue("InstallDir", REG_BINARY, binary259 + "b")}, "c:\\veltrfm",
         ini, ftp},
        {"InstallDir multi-string: its first string",
         {RawValue("InstallDir", REG_MULTI_SZ, std::string("C:\\one\0C:\\two\0\0", 16))}, "C:\\one", ini, ftp},
        {"InstallDir of 258 characters, whole", {TextValue("InstallDir", fits258)}, fits258, ini, ftp},
        {"InstallDir of 300 characters: absent", {TextValue("InstallDir", overlong)}, "c:\\veltrfm", ini, ftp},
        {"IniFileName of 300 characters: absent",
         {TextValue("InstallDir", "C:\\vt"), TextValue("IniFileName", overlong), TextValue("FtpIniName", overlong)},
         "C:\\vt", ini, ftp},
        {"IniFileName as a DWORD: a bare name in the Windows directory",
         {TextValue("InstallDir", "C:\\vt"), DwordValue("IniFileName", dword), DwordValue("FtpIniName", dword)},
         "C:\\vt", WindowsFile("ABC"), WindowsFile("ABC")},
        {"IniFileName binary with control bytes and percent signs",
         {TextValue("InstallDir", "C:\\vt"),
          RawValue("IniFileName", REG_BINARY, std::string(".\\\x01\x02%X%\x7f")),
          RawValue("FtpIniName", REG_MULTI_SZ, std::string(".\\a.ini\0.\\b.ini\0\0", 17))},
         "C:\\vt", std::string("C:\\vt\\\x01\x02%X%\x7f"), "C:\\vt\\a.ini"},
        {"IniFileName, bare, 258 characters: the join does not fit and is not cut",
         {TextValue("InstallDir", "C:\\vt"), TextValue("IniFileName", std::string(258, 'n'))}, "C:\\vt",
         std::string(258, 'n'), ftp},
    };
    for (const RegistryCase &c : cases) {
        SCOPED_TRACE(c.Name);
        DiscoveryDescription desktop;
        desktop.User = c.User;
        desktop.Environment = {{"VELTRANO_PATH", NULL}, {"X", NULL}};
        DesktopFixture fixture(desktop);
        ASSERT_TRUE(fixture.Ready()) << fixture.FailureText();
        std::string registryBefore = SnapshotVeltranoRegistry();

        ResetInstallState();
        RunBounded("the desktop discovery", STEP_HANG_GUARD_MS, [] {
            LocateDesktopDir();
            FindDesktopSettings(InstallState.SourceIniPath, InstallState.SourceFtpIniPath);
        });
        EXPECT_EQ(c.DesktopDir, InstallState.DesktopDir);
        char exported[PATH_BUFFER_SIZE] = "";
        GetEnvironmentVariableA("VELTRANO_PATH", exported, COUNTOF(exported));
        EXPECT_EQ(c.DesktopDir, exported);
        EXPECT_EQ(c.MainIni, InstallState.SourceIniPath);
        EXPECT_EQ(c.FtpIni, InstallState.SourceFtpIniPath);

        GuardedBuffer directory, mainIni, ftpIni;
        FindDesktopDir(directory.Path, COUNTOF(directory.Path));
        FindDesktopSettings(mainIni.Path, ftpIni.Path);
        for (const GuardedBuffer *buffer : {&directory, &mainIni, &ftpIni}) {
            EXPECT_TRUE(buffer->GuardsIntact()) << "a write outside the path buffer";
            EXPECT_TRUE(buffer->Terminated());
        }
        EXPECT_EQ(c.MainIni, mainIni.Path);
        EXPECT_EQ(registryBefore, SnapshotVeltranoRegistry()) << "the discovery changed the registry";
    }
}

}  // namespace
}  // namespace hostile
