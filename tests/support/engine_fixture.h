// Desktop installations and device directories for the installation engine's
// tests: real files under a fresh temporary directory, read back as they lie on disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/files.h"      // WriteFileBytes, ReadFileBytes, PathExists
#include "support/ini_files.h"  // IniFile, ReadIniFile, FormatIni
#include "support/trees.h"      // ListDirectory

namespace engine_fixture {

struct FixtureFile {
    std::string RelativePath;  // below the desktop directory; missing subdirectories are created
    std::string Content;
    DWORD Attributes = 0;      // 0 leaves the attributes the file was created with
};

// A desktop installation in a few lines. Texts are written byte for byte, without a BOM.
struct DesktopDescription {
    std::string MainIni;           // vtmain.ini
    DWORD MainIniAttributes = 0;
    bool HasFtpIni = false;
    std::string FtpIni;            // vpx_ftp.ini, written when HasFtpIni
    std::string ButtonBarPath;     // below the desktop directory; empty: no button bar file
    std::string ButtonBarContent;
    std::vector<FixtureFile> Files;  // extra settings files and anything else
};

struct Fixture {
    std::string Root;         // fresh temporary directory holding the two below
    std::string DesktopDir;   // no trailing backslash
    std::string DeviceDir;    // the device's application-data directory, created empty
    std::string MainIniPath;  // DesktopDir\vtmain.ini
    std::string FtpIniPath;   // DesktopDir\vpx_ftp.ini, whether written or not
};

// Writes the desktop installation and an empty device directory under a fresh root.
Fixture BuildFixture(const DesktopDescription &description);

// A row of the settings-files list: its name and check mark.
struct ListRow {
    const char *Name;
    bool Checked;
};

}  // namespace engine_fixture
