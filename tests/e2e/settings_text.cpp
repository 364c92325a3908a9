#include "settings_text.h"

#include <windows.h>

#include <map>

namespace {

std::string Trim(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

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
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            sections.push_back({Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            continue;
        }
        if (sections.empty())
            sections.push_back({"", {}});
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            sections.back().Keys.push_back({line, ""});
        else
            sections.back().Keys.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
    }
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
