#include "support/registrations.h"

#include <windows.h>

#include "base/caseless_compare.h"
#include "base/install_state.h"
#include "pages/plugin_list.h"
#include "support/engine_fixture.h"

namespace {

const char DEVICE_REFERENCE[] = "%U3_APP_DATA_PATH%\\";

bool EndsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The plugin kind whose settings section this is, or NULL.
const PluginKindEntry *KindOfSection(const std::string &section)
{
    for (const PluginKindEntry &kind : PluginKind) {
        if (EqualsIgnoringCase(section.c_str(), kind.Section))
            return &kind;
    }
    return NULL;
}

}  // namespace

std::string RegisteredDeviceFile(const std::string &appData, const std::string &value)
{
    std::string path = SkipFlagsPrefix(value.c_str());
    const std::string reference = DEVICE_REFERENCE;
    if (path.compare(0, reference.size(), reference) != 0)
        return std::string();
    std::string rest = path.substr(reference.size());
    if (rest.find('/') != std::string::npos || rest.find(':') != std::string::npos)
        return std::string();
    for (size_t from = 0; from <= rest.size();) {
        size_t end = rest.find('\\', from);
        std::string part = rest.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (part == "." || part == "..")
            return std::string();
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    return appData + "\\" + rest;
}

std::vector<std::string> RegistrationsNamingNoDeviceFile(const std::string &appData)
{
    std::vector<std::string> wrong;
    // Read as text, not through the profile functions, whose section reads have a size limit.
    engine_fixture::IniFile portable;
    if (!engine_fixture::ReadIniFile(appData + "\\vtmain.ini", &portable))
        return wrong;
    for (const engine_fixture::IniSection &section : portable) {
        const PluginKindEntry *kind = KindOfSection(section.Name);
        if (!kind)
            continue;
        for (const std::string &entry : section.Lines) {
            size_t equals = entry.find('=');
            std::string key = entry.substr(0, equals);
            std::string value = equals == std::string::npos ? std::string() : entry.substr(equals + 1);
            if (kind->Renumbered && EndsWith(key, "_detect"))
                continue;
            std::string file = RegisteredDeviceFile(appData, value);
            DWORD attributes = file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(file.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                wrong.push_back(section.Name + " " + entry);
        }
    }
    return wrong;
}
