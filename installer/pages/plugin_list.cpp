#include "pages/plugin_list.h"

#include "base/caseless_compare.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "files/directory_size.h"
#include "lists/list_rows.h"
#include "lists/plugin_row.h"

namespace {

// Key names of one section, each ended by a zero byte; names past its end are not read.
char KeyNames[65536];

// A numbered kind's label ends in the base name of its plugin file.
BOOL ComposeRowLabel(int kind, const char *key, char *label, int capacity)
{
    if (!PluginKind[kind].Renumbered)
        return ComposePluginLabel(label, capacity, kind, key, NULL);
    char value[PATH_BUFFER_SIZE];
    GetPrivateProfileStringA(PluginKind[kind].Section, key, "", value, COUNTOF(value), InstallState.SourceIniPath);
    char baseName[PATH_BUFFER_SIZE];
    BOOL named = PluginModuleName(value, baseName, COUNTOF(baseName));
    return ComposePluginLabel(label, capacity, kind, key, named ? baseName : NULL);
}

// The plugin directory of a key's value, expanded in place inside value, within a path buffer;
// NULL when the value names no file in a directory, or is longer than a path buffer holds (value
// has room for one character more, so that such a value shows as too long).
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
    ExpandEnvRefs(path, PATH_BUFFER_SIZE - static_cast<int>(path - value));
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

void AddPluginSection(HWND list, int kind)
{
    const char *section = PluginKind[kind].Section;
    BOOL withModuleName = PluginKind[kind].Renumbered;
    ZeroMemory(KeyNames, 2);
    GetPrivateProfileStringA(section, NULL, "", KeyNames, COUNTOF(KeyNames) - 1, InstallState.SourceIniPath);
    // A list cut at the buffer's end still ends in an empty name.
    KeyNames[COUNTOF(KeyNames) - 2] = '\0';
    KeyNames[COUNTOF(KeyNames) - 1] = '\0';
    for (const char *key = KeyNames; *key; key += lstrlenA(key) + 1) {
        if (withModuleName && IsDetectCompanion(key))
            continue;
        char label[PATH_BUFFER_SIZE];
        if (!ComposeRowLabel(kind, key, label, COUNTOF(label)))
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
        AddPluginSection(list, kind);
}
