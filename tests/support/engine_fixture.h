// Desktop installations, device directories and settings-files lists for the installation
// engine's tests: real files under a fresh temporary directory, read back as they lie on disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/files.h"  // WriteFileBytes, ReadFileBytes, PathExists

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

// Names of the entries directly in dir, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string &dir);

struct IniSection {
    std::string Name;                // as written in the file, case kept
    std::vector<std::string> Lines;  // "key=value" with blanks around key and value trimmed
    bool operator==(const IniSection &other) const { return Name == other.Name && Lines == other.Lines; }
};
typedef std::vector<IniSection> IniFile;

// The whole file read as text and parsed: sections in file order, blank lines left out.
// Lines before the first section go into a section with an empty name.
bool ReadIniFile(const std::string &path, IniFile *file);

// Readable form of a parsed file, for failure messages.
std::string FormatIni(const IniFile &file);

// A row of the settings-files list: its name and check mark.
struct ListRow {
    const char *Name;
    bool Checked;
};

}  // namespace engine_fixture
