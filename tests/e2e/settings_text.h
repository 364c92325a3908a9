// Settings (ini) files read as their text stands: sections, keys and raw values, nothing stripped
// but the blanks around names and values, so quotes written around a value show.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct SettingsSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;  // in file order
};

std::vector<SettingsSection> ParseSettings(const std::string &text);

// "" when both hold the same sections with the same keys and values; section and key names
// are compared without regard to case (as the profile functions match them), values exactly,
// and the order of sections and keys is not compared. Else one line per difference.
std::string SettingsDifferences(const std::vector<SettingsSection> &expected,
                                const std::vector<SettingsSection> &actual);
