#include "support/engine_fixture.h"

#include "support/temp_directory.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace engine_fixture {

namespace {

std::string Trim(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

Fixture BuildFixture(const DesktopDescription &description)
{
    Fixture fixture;
    fixture.Root = UniqueTempDirectory("engine");
    fixture.DesktopDir = fixture.Root + "\\desktop";
    fixture.DeviceDir = fixture.Root + "\\device";
    fixture.MainIniPath = fixture.DesktopDir + "\\vtmain.ini";
    fixture.FtpIniPath = fixture.DesktopDir + "\\vpx_ftp.ini";
    MakeDirectories(fixture.DesktopDir);
    MakeDirectories(fixture.DeviceDir);

    for (const FixtureFile &file : description.Files)
        WriteFileBytes(fixture.DesktopDir + "\\" + file.RelativePath, file.Content, file.Attributes);
    if (!description.ButtonBarPath.empty())
        WriteFileBytes(fixture.DesktopDir + "\\" + description.ButtonBarPath, description.ButtonBarContent);
    if (description.HasFtpIni)
        WriteFileBytes(fixture.FtpIniPath, description.FtpIni);
    // Last, so that a read-only attribute does not stand in the way of the other files.
    WriteFileBytes(fixture.MainIniPath, description.MainIni, description.MainIniAttributes);
    return fixture;
}

std::vector<std::string> ListDirectory(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadIniFile(const std::string &path, IniFile *file)
{
    file->clear();
    std::string text;
    if (!ReadFileBytes(path, &text))
        return false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        line = Trim(line);
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            IniSection section;
            section.Name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            file->push_back(section);
            continue;
        }
        if (file->empty())
            file->push_back(IniSection());
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            line = Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1));
        file->back().Lines.push_back(line);
    }
    return true;
}

std::string FormatIni(const IniFile &file)
{
    std::string all;
    for (const IniSection &section : file) {
        all += "[" + section.Name + "]\n";
        for (const std::string &line : section.Lines)
            all += "  " + line + "\n";
    }
    return all;
}

}  // namespace engine_fixture
