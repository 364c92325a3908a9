#include "support/registrations.h"

#include <windows.h>

#include "base/caseless_compare.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "lists/plugin_row.h"
#include "pages/plugin_list.h"
#include "support/files.h"
#include "support/ini_files.h"

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

// A plugin section of the device's portable main settings file, with its kind.
struct PluginSection {
    const PluginKindEntry *Kind;
    IniSection Section;
};

// The plugin sections of appData's vtmain.ini; none when it cannot be read. Read as text, not
// through the profile functions, whose section reads have a size limit.
std::vector<PluginSection> PortablePluginSections(const std::string &appData)
{
    std::vector<PluginSection> sections;
    IniFile portable;
    if (!ReadIniFile(appData + "\\vtmain.ini", &portable))
        return sections;
    for (const IniSection &section : portable) {
        if (const PluginKindEntry *kind = KindOfSection(section.Name))
            sections.push_back({kind, section});
    }
    return sections;
}

// A portable file's line of a plugin section as key and value; false for a "_detect" companion
// of a numbered kind, which registers no file.
bool SplitRegistration(const PluginKindEntry &kind, const std::string &entry, std::string *key, std::string *value)
{
    size_t equals = entry.find('=');
    *key = entry.substr(0, equals);
    *value = equals == std::string::npos ? std::string() : entry.substr(equals + 1);
    return !(kind.Renumbered && EndsWith(*key, "_detect"));
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
    // Character by character: a double-byte name's trail byte may be 0x5C.
    const char *part = rest.c_str();
    for (const char *c = part;; c = CharNextA(c)) {
        if (*c && *c != '\\')
            continue;
        std::string name(part, c);
        if (name == "." || name == "..")
            return std::string();
        if (!*c)
            break;
        part = c + 1;
    }
    return appData + "\\" + rest;
}

std::vector<std::string> RegistrationsNamingNoDeviceFile(const std::string &appData)
{
    std::vector<std::string> wrong;
    for (const PluginSection &plugins : PortablePluginSections(appData)) {
        const PluginKindEntry *kind = plugins.Kind;
        const IniSection &section = plugins.Section;
        for (const std::string &entry : section.Lines) {
            std::string key, value;
            if (!SplitRegistration(*kind, entry, &key, &value))
                continue;
            std::string file = RegisteredDeviceFile(appData, value);
            DWORD attributes = file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(file.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                wrong.push_back(section.Name + " " + entry);
        }
    }
    return wrong;
}

namespace {

// The source plugin file a desktop key's value names, expanded; "" when it names none.
std::string SourcePluginFile(const std::string &sourceIni, const char *section, const std::string &key)
{
    char setting[PATH_BUFFER_SIZE + 1], value[PATH_BUFFER_SIZE];
    GetPrivateProfileStringA(section, key.c_str(), "", setting, COUNTOF(setting), sourceIni.c_str());
    PluginValue parts;
    if (!ExpandWhole(value, COUNTOF(value), setting) || !SplitPluginValue(&parts, value))
        return std::string();
    return std::string(parts.SourceDirectory) + "\\" + parts.FileName;
}

std::string FileNameOf(const std::string &path)
{
    const char *last = LastCharOf(path.c_str(), '\\');
    return last ? std::string(last + 1) : path;
}

// The numbered kind's checked rows that went to a device folder, in list order: each row's
// device file and its source file.
struct CopiedRow {
    std::string DeviceFile, SourceFile;
};

std::vector<CopiedRow> CopiedRowsOfKind(const std::string &sourceIni, const PluginKindEntry &kind,
                                        const std::vector<ListedPluginRow> &rows)
{
    std::vector<CopiedRow> copied;
    for (const ListedPluginRow &row : rows) {
        char key[PATH_BUFFER_SIZE];
        int rowKind = ParsePluginLabel(row.Label.c_str(), key, COUNTOF(key));
        if (!row.Checked || row.CopiedTo.empty() || rowKind < 0 || &PluginKind[rowKind] != &kind)
            continue;
        std::string source = SourcePluginFile(sourceIni, kind.Section, key);
        if (!source.empty())
            copied.push_back({row.CopiedTo + FileNameOf(source), source});
    }
    return copied;
}

}  // namespace

// VELTRANO_PATH set to a directory while it lives, and put back as it was.
struct DesktopVariable {
    explicit DesktopVariable(const std::string &desktopDir)
    {
        if (desktopDir.empty())
            return;
        DWORD length = GetEnvironmentVariableA("VELTRANO_PATH", saved, sizeof(saved));
        wasSet = length > 0 && length < sizeof(saved);
        SetEnvironmentVariableA("VELTRANO_PATH", desktopDir.c_str());
        changed = true;
    }
    ~DesktopVariable()
    {
        if (changed)
            SetEnvironmentVariableA("VELTRANO_PATH", wasSet ? saved : NULL);
    }
    char saved[PATH_BUFFER_SIZE] = "";
    bool wasSet = false, changed = false;
};

std::vector<std::string> RegistrationsNotCopiedFromTheirSource(const std::string &appData,
                                                                const std::string &sourceIni,
                                                                const std::vector<ListedPluginRow> &rows,
                                                                const std::string &desktopDir)
{
    DesktopVariable desktop(desktopDir);
    std::vector<std::string> wrong;
    for (const PluginSection &plugins : PortablePluginSections(appData)) {
        const PluginKindEntry *kind = plugins.Kind;
        const IniSection &section = plugins.Section;
        // Without the rows a numbered kind's registrations cannot be told apart.
        if (kind->Renumbered && rows.empty())
            continue;
        std::vector<CopiedRow> copied;
        if (kind->Renumbered)
            copied = CopiedRowsOfKind(sourceIni, *kind, rows);
        size_t nextRow = 0;
        for (const std::string &entry : section.Lines) {
            std::string key, value;
            if (!SplitRegistration(*kind, entry, &key, &value))
                continue;
            std::string file = RegisteredDeviceFile(appData, value);
            if (file.empty())
                continue;  // RegistrationsNamingNoDeviceFile reports it
            std::string source;
            if (!kind->Renumbered) {
                source = SourcePluginFile(sourceIni, kind->Section, key);
            } else {
                while (nextRow < copied.size() && copied[nextRow].DeviceFile != file)
                    ++nextRow;
                if (nextRow < copied.size())
                    source = copied[nextRow++].SourceFile;
            }
            std::string onDevice, fromSource;
            if (source.empty())
                wrong.push_back(section.Name + " " + entry + ": no checked plugin of the desktop names this file");
            else if (!ReadFileBytes(file, &onDevice) || !ReadFileBytes(source, &fromSource) || onDevice != fromSource)
                wrong.push_back(section.Name + " " + entry + ": not the bytes of " + source);
        }
    }
    return wrong;
}
