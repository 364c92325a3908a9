#include "pages/plugin_list.h"

#include "base/caseless_compare.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "base/profile_section.h"
#include "files/directory_size.h"
#include "lists/list_rows.h"

namespace {

// Key names of one section, each ended by a zero byte; names past its end are not read.
char KeyNames[65536];

// Rows of one plugin share its directory: the directory measured last is not walked again.
char LastMeasured[PATH_BUFFER_SIZE];
unsigned long long LastMeasuredSize;

// The plugin page's list, once drawn: the run's device folders are shown in it afterwards.
HWND DrawnList;

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

void AddPluginSection(int kind)
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
        if (SectionValue(value, COUNTOF(value), &text, key) > PATH_MAX_CHARS)
            continue;
        char label[PATH_BUFFER_SIZE];
        if (!ComposeRowLabel(label, COUNTOF(label), kind, key, value))
            continue;
        // A value naming no file in a directory of its own gives no row: a plugin at a drive's root
        // is no reason to measure the whole drive. A value too long once expanded is listed by its
        // directory: the transfer puts it to the user when it is checked.
        PluginValue parts;
        PluginValueResult parsed = ParsePluginValue(&parts, value);
        if (parsed == PLUGIN_VALUE_NO_FILE || (parsed == PLUGIN_VALUE_SPLIT && !parts.FileName[0]) ||
            NamesWholeVolume(parts.SourceDirectory))
            continue;
        unsigned long long size = MeasuredSize(parts.SourceDirectory);
        if (size == 0)
            continue;
        PluginRow *row = AppendPluginRow();
        if (!row)
            break;
        row->Kind = kind;
        CopyBounded(row->Key, COUNTOF(row->Key), key);
        CopyBounded(row->Label, COUNTOF(row->Label), label);
        CopyBounded(row->Value, COUNTOF(row->Value), value);
        CopyBounded(row->SourceDirectory, COUNTOF(row->SourceDirectory), parts.SourceDirectory);
        row->SizeBytes = size;
    }
    FreeProfileSection(&text);
}

void FillPluginRows()
{
    ClearPluginRows();
    LastMeasured[0] = '\0';
    for (int kind = 0; kind < PLUGIN_KIND_COUNT; ++kind)
        AddPluginSection(kind);
    LinkSharedDirectories();
}

void DrawPluginList(HWND list)
{
    DrawnList = list;
    // A list that redraws after every row takes seconds for thousands of rows.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int index = 0; index < PluginRows.Count; ++index) {
        const PluginRow &record = PluginRows.Rows[index];
        int row = AppendListRow(list, record.Label);
        if (row < 0)
            continue;
        SetListText(list, row, PLUGIN_COLUMN_PATH, record.SourceDirectory);
        char sizeText[32];
        FormatKiB(sizeText, COUNTOF(sizeText), BytesToKiBRoundedUp(record.SizeBytes));
        SetListText(list, row, PLUGIN_COLUMN_SIZE, sizeText);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

void DrawCopiedTo()
{
    if (!DrawnList)
        return;
    for (int row = 0; row < PluginRows.Count && row < ListRowCount(DrawnList); ++row)
        SetListText(DrawnList, row, PLUGIN_COLUMN_COPIED_TO, PluginRows.Rows[row].DeviceFolder);
}
