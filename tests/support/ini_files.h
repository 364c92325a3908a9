// Settings (ini) files read back by the tests: as text, section by section, or one value or
// section through the profile functions, as the file manager reads them.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Walks settings text: every line that is not blank, trimmed, goes either to onSection (a line
// that starts with '[': the text up to ']', as written) or to onLine.
void ReadIniText(const std::string &text, const std::function<void(const std::string &name)> &onSection,
                 const std::function<void(const std::string &line)> &onLine);

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

// The portable settings file of an application-data directory, parsed; a failure of the calling
// test when there is none.
IniFile PortableIni(const std::string &appData);

// One value through the profile functions; "<absent>" when the key is missing.
std::string ProfileValue(const std::string &file, const char *section, const char *key);

// One section through the profile functions, as "key=value" lines.
std::vector<std::string> ProfileSection(const std::string &file, const char *section);
