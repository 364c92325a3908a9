#include "pages/plugin_list.h"

#include "base/caseless_compare.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "base/profile_section.h"
#include "files/directory_size.h"
#include "lists/list_rows.h"
#include "lists/plugin_row.h"

namespace {

// Key names of one section, each ended by a zero byte; names past its end are not read.
char KeyNames[65536];

// Rows of one plugin share its directory: the directory measured last is not walked again.
char LastMeasured[PATH_BUFFER_SIZE];
unsigned long long LastMeasuredSize;

unsigned long long MeasuredSize(const char *directory)
{
    if (!LastMeasured[0] || lstrcmpA(directory, LastMeasured) != 0) {
        LastMeasuredSize = DirectorySize(directory);
        CopyBounded(LastMeasured, COUNTOF(LastMeasured), directory);
    }
    return LastMeasuredSize;
}

// A numbered kind's label ends in the base name of its plugin file, named in the key's value.
BOOL ComposeRowLabel(char *label, int capacity, int kind, const char *key, const char *value)
{
    if (!PluginKind[kind].Renumbered)
        return ComposePluginLabel(label, capacity, kind, key, NULL);
    char baseName[PATH_BUFFER_SIZE];
    BOOL named = PluginModuleName(baseName, COUNTOF(baseName), value);
    return ComposePluginLabel(label, capacity, kind, key, named ? baseName : NULL);
}

// The plugin directory of a key's value (which fits a path buffer), expanded in place inside
// value, within a path buffer; NULL when the value names no file in a directory of its own or the
// expansion does not fit (a cut directory would be another one, its parent say).
char *PluginDirectory(char *value)
{
    char *path = const_cast<char *>(SkipFlagsPrefix(value));
    if (!path[0])
        return NULL;
    // The path's first character does not count: a lone leading backslash names no directory.
    char *lastBackslash = LastCharOf(CharNextA(path), '\\');
    if (!lastBackslash || !lastBackslash[1])
        return NULL;
    *lastBackslash = '\0';
    if (!ExpandEnvRefs(path, PATH_BUFFER_SIZE - static_cast<int>(path - value)))
        return NULL;
    // A plugin at a drive's root is no reason to measure the whole drive.
    return NamesWholeVolume(path) ? NULL : path;
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
    // Read once: a read per key would read the whole file again for each.
    ProfileSection text;
    ReadProfileSection(&text, InstallState.SourceIniPath, section);
    ZeroMemory(KeyNames, 2);
    SectionKeyNames(KeyNames, COUNTOF(KeyNames) - 1, &text);
    // A list cut at the buffer's end still ends in an empty name.
    KeyNames[COUNTOF(KeyNames) - 2] = '\0';
    KeyNames[COUNTOF(KeyNames) - 1] = '\0';
    for (const char *key = KeyNames; *key; key += lstrlenA(key) + 1) {
        if (withModuleName && IsDetectCompanion(key))
            continue;
        // Read once, with one byte to spare, so that a value too long for a path buffer shows as
        // such: its first 259 characters may end inside a name and so name the parent directory.
        char value[PATH_BUFFER_SIZE + 1];
        ZeroMemory(value, sizeof(value));
        BOOL fits = SectionValue(value, COUNTOF(value), &text, key) <= PATH_MAX_CHARS;
        char label[PATH_BUFFER_SIZE];
        if (!ComposeRowLabel(label, COUNTOF(label), kind, key, value))
            continue;

        const char *directory = fits ? PluginDirectory(value) : NULL;
        if (!directory)
            continue;
        unsigned long long size = MeasuredSize(directory);
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
    FreeProfileSection(&text);
}

void FillPluginList(HWND list)
{
    HCURSOR previous = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    // A list that redraws after every row takes seconds for thousands of rows.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    LastMeasured[0] = '\0';
    for (int kind = 0; kind < PLUGIN_KIND_COUNT; ++kind)
        AddPluginSection(list, kind);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    SetCursor(previous);
}
