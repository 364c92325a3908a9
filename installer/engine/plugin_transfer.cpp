#include "engine/plugin_transfer.h"

#include "engine/tree_copy.h"
#include "pages/check_list.h"
#include "pages/list_rows.h"
#include "pages/plugin_list.h"
#include "pages/progress.h"
#include "resources/resource.h"
#include "startup/caseless_compare.h"
#include "startup/install_state.h"
#include "startup/path_helpers.h"

namespace {

// The companion text, its two quotes and the terminator.
const int DETECT_TEXT_SIZE = 8189;
const char PORTABLE_PLUGIN_BASE[] = "%U3_APP_DATA_PATH%\\Plugins\\";

// A desktop plugin value taken apart: flags prefix, source directory, plugin file name.
struct PluginValue {
    char Flags[PATH_BUFFER_SIZE];
    char SourceDirectory[PATH_BUFFER_SIZE];
    char FileName[PATH_BUFFER_SIZE];
};

int KindOfLabel(const char *label)
{
    for (int kind = 0; kind < PLUGIN_KIND_COUNT; ++kind) {
        const char *prefix = PluginKind[kind].LabelPrefix;
        int length = lstrlenA(prefix);
        int i = 0;
        while (i < length && label[i] == prefix[i])
            ++i;
        if (i == length)
            return kind;
    }
    return -1;
}

// Expands a value of at most 259 characters in place; FALSE when the expanded text filled all 259
// and so may have been cut.
BOOL ExpandsWhole(char *value)
{
    char before[PATH_BUFFER_SIZE];
    CopyBounded(before, value, COUNTOF(before));
    ExpandEnvRefs(value, PATH_MAX_CHARS);
    return lstrlenA(value) < PATH_MAX_CHARS || lstrcmpA(before, value) == 0;
}

// FALSE when the value has no backslash.
BOOL SplitPluginValue(char *value, PluginValue *parts)
{
    char *last = LastCharOf(value, '\\');
    if (!last)
        return FALSE;
    CopyBounded(parts->FileName, last + 1, COUNTOF(parts->FileName));
    *last = '\0';
    const char *rest = value;
    while (*rest >= '0' && *rest <= '9')
        ++rest;
    if (*rest == ',')
        ++rest;
    int flagsLength = static_cast<int>(rest - value);
    CopyBounded(parts->Flags, value, flagsLength + 1);
    CopyBounded(parts->SourceDirectory, rest, COUNTOF(parts->SourceDirectory));
    return TRUE;
}

// The directory an earlier checked row of the same source directory was copied to. The nearest
// such row counts; when it holds no target the row makes its own directory. Searched from the
// nearest row back, so that thousands of rows of one directory cost one look each.
BOOL FindSharedTarget(HWND list, int row, const char *sourceDirectory, char *target)
{
    for (int earlier = row - 1; earlier >= 0; --earlier) {
        if (!IsItemChecked(list, earlier))
            continue;
        char path[PATH_BUFFER_SIZE];
        // Whole buffers: a directory of 259 characters read cut would be taken for another one.
        if (GetListText(list, earlier, PLUGIN_COLUMN_PATH, path, COUNTOF(path)) && EqualsIgnoringCase(path, sourceDirectory))
            return GetListText(list, earlier, PLUGIN_COLUMN_COPIED_TO, target, PATH_BUFFER_SIZE) && target[0];
    }
    return FALSE;
}

// A base name that would not give a new directory right under the kind's subdirectory.
BOOL IsUnsafeBaseName(const char *name)
{
    if (!name[0] || lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0)
        return TRUE;
    for (; *name; ++name) {
        if (*name == '/' || *name == ':')
            return TRUE;
    }
    return FALSE;
}

// Appends name and a backslash, and creates that directory; FALSE when it does not fit.
BOOL AppendDirectory(char *path, int capacity, const char *name)
{
    if (lstrlenA(path) + lstrlenA(name) + 1 > capacity - 1)
        return FALSE;
    AppendBounded(path, name, capacity);
    CreateDirectoryA(path, NULL);
    AppendBackslash(path, capacity);
    return TRUE;
}

// The plugin file name without its last extension.
void BaseNameOf(const char *fileName, char *baseName)
{
    CopyBounded(baseName, fileName, PATH_BUFFER_SIZE);
    char *lastDot = LastCharOf(baseName, '.');
    if (lastDot)
        *lastDot = '\0';
}

// PluginBase\kind\base name\, created level by level; FALSE (nothing made below the level that
// does not fit) when the path does not fit.
BOOL MakeTargetDirectory(int kind, const char *baseName, char *target)
{
    CopyBounded(target, InstallState.PluginBase, PATH_BUFFER_SIZE);
    ExpandEnvRefs(target, PATH_MAX_CHARS);
    CreateDirectoryA(target, NULL);
    AppendBackslash(target, PATH_BUFFER_SIZE);
    return AppendDirectory(target, PATH_BUFFER_SIZE, PluginKind[kind].TargetSubdir) &&
           AppendDirectory(target, PATH_BUFFER_SIZE, baseName);
}

// A checked plugin whose directory on the device would not fit a path is not passed over in
// silence: it is reported as the tree copy reports a target that does not fit.
void ReportTargetTooLong(int kind, const char *baseName)
{
    char base[PATH_BUFFER_SIZE];
    CopyBounded(base, InstallState.PluginBase, COUNTOF(base));
    ExpandEnvRefs(base, PATH_MAX_CHARS);
    char whole[4 * PATH_BUFFER_SIZE];
    CopyBounded(whole, base, COUNTOF(whole));
    AppendBounded(whole, "\\", COUNTOF(whole));
    AppendBounded(whole, PluginKind[kind].TargetSubdir, COUNTOF(whole));
    AppendBounded(whole, "\\", COUNTOF(whole));
    AppendBounded(whole, baseName, COUNTOF(whole));
    AppendBounded(whole, "\\", COUNTOF(whole));
    ReportCopyError(whole, ERROR_FILENAME_EXCED_RANGE);
}

// The part of target after the expanded plugin base and its backslash; NULL when target does
// not lie in the plugin tree.
const char *RelativeTarget(const char *target)
{
    char base[PATH_BUFFER_SIZE];
    CopyBounded(base, InstallState.PluginBase, COUNTOF(base));
    ExpandEnvRefs(base, PATH_MAX_CHARS);
    AppendBackslash(base, COUNTOF(base));
    int length = lstrlenA(base);
    if (!StartsWithIgnoringCase(target, base))
        return NULL;
    return target + length;
}

void RegisterPlugin(int kind, const char *desktopKey, const PluginValue &parts, const char *relativeTarget,
                    int *runningNumber)
{
    const PluginKindEntry &entry = PluginKind[kind];
    char portableKey[PATH_BUFFER_SIZE];
    if (entry.Renumbered)
        wsprintfA(portableKey, "%d", (*runningNumber)++);
    else
        CopyBounded(portableKey, desktopKey, COUNTOF(portableKey));

    // Each part fits a path buffer; the whole is never cut into another path.
    char value[4 * PATH_BUFFER_SIZE] = "";
    if (kind == KIND_PACKER)
        AppendBounded(value, parts.Flags, COUNTOF(value));
    AppendBounded(value, PORTABLE_PLUGIN_BASE, COUNTOF(value));
    AppendBounded(value, relativeTarget, COUNTOF(value));
    AppendBounded(value, parts.FileName, COUNTOF(value));
    WritePrivateProfileStringA(entry.Section, portableKey, value, InstallState.TargetIniPath);
    if (!entry.Renumbered)
        return;

    char desktopCompanion[PATH_BUFFER_SIZE + 8], portableCompanion[PATH_BUFFER_SIZE + 8];
    CopyBounded(desktopCompanion, desktopKey, COUNTOF(desktopCompanion));
    AppendBounded(desktopCompanion, "_detect", COUNTOF(desktopCompanion));
    CopyBounded(portableCompanion, portableKey, COUNTOF(portableCompanion));
    AppendBounded(portableCompanion, "_detect", COUNTOF(portableCompanion));
    static char detect[DETECT_TEXT_SIZE];
    static char quoted[DETECT_TEXT_SIZE + 2];
    GetPrivateProfileStringA(entry.Section, desktopCompanion, "", detect, DETECT_TEXT_SIZE, InstallState.SourceIniPath);
    if (!detect[0]) {
        WritePrivateProfileStringA(entry.Section, portableCompanion, NULL, InstallState.TargetIniPath);
        return;
    }
    quoted[0] = '"';
    CopyBounded(quoted + 1, detect, COUNTOF(quoted) - 1);
    AppendBounded(quoted, "\"", COUNTOF(quoted));
    WritePrivateProfileStringA(entry.Section, portableCompanion, quoted, InstallState.TargetIniPath);
}

}  // namespace

void TransferPlugins(HWND page)
{
    HWND list = InstallState.PluginList;
    const int rows = ListRowCount(list);
    int runningNumbers[PLUGIN_KIND_COUNT] = {};
    if (InstallState.AbortRequested)
        return;
    const int checked = CountCheckedItems(list);
    if (checked == 0 || rows == 0)
        return;

    int accumulator = 200;
    for (int row = 0; row < rows; ++row) {
        // Rows that share a copied directory reach no tree copy, which would let messages through:
        // thousands of them would otherwise leave the page frozen and deaf to Cancel.
        PumpMessages();
        if (InstallState.AbortRequested)
            return;
        if (!IsItemChecked(list, row))
            continue;
        // The whole buffer: the plugin page lists only labels that hold their key whole, up to 259
        // characters.
        char label[PATH_BUFFER_SIZE];
        if (!GetListText(list, row, PLUGIN_COLUMN_LABEL, label, COUNTOF(label)))
            continue;
        SetDlgItemTextA(page, IDC_STATUS_LINE, label);
        SetProgress(page, accumulator / (checked + 2));
        accumulator += 100;

        int kind = KindOfLabel(label);
        if (kind < 0)
            continue;
        char desktopKey[PATH_BUFFER_SIZE];
        CopyBounded(desktopKey, label + lstrlenA(PluginKind[kind].LabelPrefix), COUNTOF(desktopKey));
        if (PluginKind[kind].Renumbered) {
            for (char *c = desktopKey; *c; ++c) {
                if (*c == ':') {
                    *c = '\0';
                    break;
                }
            }
        }

        // Taken whole or not at all, as the plugin page takes it: a cut value, or an expansion that
        // filled the buffer and may have been cut, would name another file or directory.
        char value[PATH_BUFFER_SIZE + 1];
        if (GetPrivateProfileStringA(PluginKind[kind].Section, desktopKey, "", value, COUNTOF(value),
                                     InstallState.SourceIniPath) > PATH_MAX_CHARS)
            continue;
        if (!ExpandsWhole(value))
            continue;
        PluginValue parts;
        if (!SplitPluginValue(value, &parts))
            continue;

        char target[PATH_BUFFER_SIZE];
        BOOL reused = FindSharedTarget(list, row, parts.SourceDirectory, target) && RelativeTarget(target);
        if (!reused) {
            char baseName[PATH_BUFFER_SIZE];
            BaseNameOf(parts.FileName, baseName);
            if (IsUnsafeBaseName(baseName))
                continue;
            if (!MakeTargetDirectory(kind, baseName, target)) {
                ReportTargetTooLong(kind, baseName);
                continue;
            }
        }
        SetListText(list, row, PLUGIN_COLUMN_COPIED_TO, target);
        if (!reused && !CopyTree(parts.SourceDirectory, target))
            continue;
        RegisterPlugin(kind, desktopKey, parts, RelativeTarget(target), &runningNumbers[kind]);
    }
}
