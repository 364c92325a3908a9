#include "pages/plugin_list.h"

#include "base/caseless_compare.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "files/directory_size.h"
#include "lists/list_rows.h"

namespace {

// Key names of one section, each ended by a zero byte; names past its end are not read.
char KeyNames[65536];

// Text after the last backslash, cut at its last '.'; FALSE when the value has no backslash.
BOOL ModuleBaseName(const char *value, char *name, int capacity)
{
    name[0] = '\0';
    const char *lastBackslash = LastCharOf(value, '\\');
    if (!lastBackslash)
        return FALSE;
    CopyBounded(name, lastBackslash + 1, capacity);
    char *lastDot = LastCharOf(name, '.');
    if (lastDot)
        *lastDot = '\0';
    return TRUE;
}

// FALSE when the prefix and the key do not fit the label whole: the plugin transfer finds the key
// again in the label, and a cut one would name another key, or none.
BOOL ComposeLabel(const char *section, const char *prefix, const char *key, BOOL withModuleName, char *label)
{
    if (lstrlenA(prefix) + lstrlenA(key) > PATH_MAX_CHARS)
        return FALSE;
    CopyBounded(label, prefix, PATH_BUFFER_SIZE);
    AppendBounded(label, key, PATH_BUFFER_SIZE);
    if (!withModuleName)
        return TRUE;
    char value[PATH_BUFFER_SIZE];
    GetPrivateProfileStringA(section, key, "", value, COUNTOF(value), InstallState.SourceIniPath);
    char baseName[PATH_BUFFER_SIZE];
    if (ModuleBaseName(value, baseName, COUNTOF(baseName))) {
        AppendBounded(label, ": ", PATH_BUFFER_SIZE);
        AppendBounded(label, baseName, PATH_BUFFER_SIZE);
    }
    return TRUE;
}

// The plugin directory of a key's value, expanded in place inside value; NULL when the value
// names no file in a directory, or is longer than a path buffer holds: its first 259 characters
// may end inside a directory name and so name the parent directory. value has room for one
// character more than a path buffer, so that such a value shows as too long.
char *PluginDirectory(const char *section, const char *key, char *value, int capacity)
{
    ZeroMemory(value, capacity);
    if (GetPrivateProfileStringA(section, key, "", value, capacity, InstallState.SourceIniPath) > PATH_MAX_CHARS)
        return NULL;
    char *path = const_cast<char *>(SkipFlagsPrefix(value));
    if (!path[0])
        return NULL;
    // The path's first character does not count: a lone leading backslash names no directory.
    char *lastBackslash = LastCharOf(CharNextA(path), '\\');
    if (!lastBackslash || !lastBackslash[1])
        return NULL;
    *lastBackslash = '\0';
    ExpandEnvRefs(path, PATH_MAX_CHARS - static_cast<int>(path - value));
    return path;
}

}  // namespace

BOOL IsDetectCompanion(const char *keyName)
{
    if (!keyName[0])
        return FALSE;
    // Character by character: the trail byte of a double-byte character may be an underscore.
    for (const char *c = CharNextA(keyName); *c; c = CharNextA(c)) {
        if (*c == '_')
            return EqualsIgnoringCase(c, "_detect");
    }
    return FALSE;
}

const char *SkipFlagsPrefix(const char *value)
{
    while (*value >= '0' && *value <= '9')
        ++value;
    if (*value == ',')
        ++value;
    return value;
}

void AddPluginSection(HWND list, const char *section, const char *prefix, BOOL withModuleName)
{
    ZeroMemory(KeyNames, 2);
    GetPrivateProfileStringA(section, NULL, "", KeyNames, COUNTOF(KeyNames) - 1, InstallState.SourceIniPath);
    // A list cut at the buffer's end still ends in an empty name.
    KeyNames[COUNTOF(KeyNames) - 2] = '\0';
    KeyNames[COUNTOF(KeyNames) - 1] = '\0';
    for (const char *key = KeyNames; *key; key += lstrlenA(key) + 1) {
        if (withModuleName && IsDetectCompanion(key))
            continue;
        char label[PATH_BUFFER_SIZE];
        if (!ComposeLabel(section, prefix, key, withModuleName, label))
            continue;

        char value[PATH_BUFFER_SIZE + 1];
        const char *directory = PluginDirectory(section, key, value, COUNTOF(value));
        if (!directory)
            continue;
        unsigned long long size = DirectorySize(directory);
        if (size == 0)
            continue;

        int row = AppendListRow(list, label);
        if (row < 0)
            continue;
        SetListText(list, row, PLUGIN_COLUMN_PATH, directory);
        char sizeText[32];
        FormatKiB(sizeText, COUNTOF(sizeText), BytesToKiBRoundedUp(size));
        SetListText(list, row, PLUGIN_COLUMN_SIZE, sizeText);
    }
}

void FillPluginList(HWND list)
{
    for (int kind = 0; kind < PLUGIN_KIND_COUNT; ++kind)
        AddPluginSection(list, PluginKind[kind].Section, PluginKind[kind].LabelPrefix, PluginKind[kind].Renumbered);
}
