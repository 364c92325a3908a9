#include "support/ini_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "support/files.h"
#include "support/text.h"

void ReadIniText(const std::string &text, const std::function<void(const std::string &name)> &onSection,
                 const std::function<void(const std::string &line)> &onLine)
{
    for (const std::string &raw : TextLines(text)) {
        std::string line = Trim(raw);
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            onSection(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        } else {
            onLine(line);
        }
    }
}

bool ReadIniFile(const std::string &path, IniFile *file)
{
    file->clear();
    std::string text;
    if (!ReadFileBytes(path, &text))
        return false;
    ReadIniText(
        text, [&](const std::string &name) { file->push_back({name, {}}); },
        [&](const std::string &line) {
            if (file->empty())
                file->push_back(IniSection());
            size_t equals = line.find('=');
            file->back().Lines.push_back(equals == std::string::npos
                                             ? line
                                             : Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1)));
        });
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

IniFile PortableIni(const std::string &appData)
{
    IniFile file;
    EXPECT_TRUE(ReadIniFile(appData + "\\vtmain.ini", &file)) << "no portable settings file";
    return file;
}

std::string ProfileValue(const std::string &file, const char *section, const char *key)
{
    char value[4096] = "";
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof(value), file.c_str());
    return value;
}

std::vector<std::string> ProfileSection(const std::string &file, const char *section)
{
    static char text[65536];
    DWORD length = GetPrivateProfileSectionA(section, text, sizeof(text), file.c_str());
    std::vector<std::string> lines;
    for (const char *line = text; line < text + length && *line; line += lstrlenA(line) + 1)
        lines.push_back(line);
    return lines;
}
