#include "settings_text.h"

#include <windows.h>

#include <map>

#include "support/ini_files.h"
#include "support/text.h"

namespace {

const char BLANKS[] = " \t\r";

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// Lower-cased key name -> (name as written, value); several sections of one name are merged,
// as the profile functions see them.
typedef std::map<std::string, std::map<std::string, std::pair<std::string, std::string>>> SectionMap;

SectionMap Index(const std::vector<SettingsSection> &sections, std::string &duplicates)
{
    SectionMap map;
    for (const SettingsSection &section : sections) {
        auto &keys = map[Lower(section.Name)];
        for (const auto &key : section.Keys) {
            if (keys.count(Lower(key.first)))
                duplicates += "key " + key.first + " twice in [" + section.Name + "]\n";
            keys[Lower(key.first)] = key;
        }
    }
    return map;
}

}  // namespace

std::vector<SettingsSection> ParseSettings(const std::string &text)
{
    std::vector<SettingsSection> sections;
    ReadIniText(
        text, [&](const std::string &name) { sections.push_back({Trim(name, BLANKS), {}}); },
        [&](const std::string &line) {
            if (line[0] == ';')
                return;
            if (sections.empty())
                sections.push_back({"", {}});
            size_t equals = line.find('=');
            if (equals == std::string::npos)
                sections.back().Keys.push_back({line, ""});
            else
                sections.back().Keys.push_back(
                    {Trim(line.substr(0, equals), BLANKS), Trim(line.substr(equals + 1), BLANKS)});
        });
    return sections;
}

std::string SettingsDifferences(const std::vector<SettingsSection> &expected,
                                const std::vector<SettingsSection> &actual)
{
    std::string out;
    std::string expectedDuplicates, actualDuplicates;
    SectionMap want = Index(expected, expectedDuplicates), have = Index(actual, actualDuplicates);
    out += actualDuplicates;
    for (const auto &section : want) {
        auto found = have.find(section.first);
        if (found == have.end()) {
            out += "missing section [" + section.first + "]\n";
            continue;
        }
        for (const auto &key : section.second) {
            auto value = found->second.find(key.first);
            if (value == found->second.end())
                out += "[" + section.first + "] missing " + key.second.first + "=" + key.second.second + "\n";
            else if (value->second.second != key.second.second)
                out += "[" + section.first + "] " + key.second.first + " is \"" + value->second.second +
                       "\", expected \"" + key.second.second + "\"\n";
        }
        for (const auto &key : found->second) {
            if (!section.second.count(key.first))
                out += "[" + section.first + "] unexpected " + key.second.first + "=" + key.second.second + "\n";
        }
    }
    for (const auto &section : have) {
        if (!want.count(section.first))
            out += "unexpected section [" + section.first + "] with " + std::to_string(section.second.size()) +
                   " keys\n";
    }
    return out;
}
