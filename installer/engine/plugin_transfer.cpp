#include "engine/plugin_transfer.h"

#include "base/caseless_compare.h"
#include "base/file_name_compare.h"
#include "base/file_names.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "base/profile_section.h"
#include "base/section_writes.h"
#include "engine/copy_failure.h"
#include "engine/device_name.h"
#include "engine/tree_copy.h"
#include "files/same_content.h"
#include "lists/plugin_row.h"
#include "lists/plugin_rows.h"

namespace {

// The companion text, its two quotes and the terminator.
const int DETECT_TEXT_SIZE = 8189;

// The plugin base with its references expanded, read once per transfer: every row's folder on
// the device lies below it.
char PluginRoot[PATH_BUFFER_SIZE];

void LoadPluginRoot()
{
    CopyBounded(PluginRoot, COUNTOF(PluginRoot), PLUGIN_BASE);
    ExpandEnvRefs(PluginRoot, COUNTOF(PluginRoot));
}

// The desktop's plugin sections, each read once per transfer when first needed.
ProfileSection DesktopSections[PLUGIN_KIND_COUNT];
BOOL DesktopSectionRead[PLUGIN_KIND_COUNT];

const ProfileSection *DesktopSection(int kind)
{
    if (!DesktopSectionRead[kind])
        ReadProfileSection(&DesktopSections[kind], InstallState.SourceIniPath, PluginKind[kind].Section);
    DesktopSectionRead[kind] = TRUE;
    return &DesktopSections[kind];
}

// The nearest earlier checked row whose source directory this run is the same, or -1. Searched
// from the nearest row back, so that thousands of rows of one directory cost one look each.
int NearestSharingRow(int row, const char *sourceDirectory)
{
    for (int earlier = row - 1; earlier >= 0; --earlier) {
        const PluginRow &record = PluginRows.Rows[earlier];
        if (record.Checked && record.SourceDirectory[0] && SameFileName(record.SourceDirectory, sourceDirectory))
            return earlier;
    }
    return -1;
}

// Whether an earlier row of another source directory was given target, as the file system
// compares names.
BOOL TakenByAnotherSource(int row, const char *target, const char *sourceDirectory)
{
    for (int earlier = 0; earlier < row; ++earlier) {
        const PluginRow &record = PluginRows.Rows[earlier];
        if (record.DeviceFolder[0] && SameFileName(record.DeviceFolder, target) &&
            !SameFileName(record.SourceDirectory, sourceDirectory))
            return TRUE;
    }
    return FALSE;
}

// The plugin file of a source as it lies in directory (ending in a backslash); FALSE when the
// path does not fit.
BOOL PluginFileIn(char (&path)[PATH_BUFFER_SIZE], const char *directory, const PluginValue &parts)
{
    return JoinPath(path, COUNTOF(path), directory, parts.FileName);
}

BOOL SourcePluginFile(char (&path)[PATH_BUFFER_SIZE], const PluginValue &parts)
{
    char directory[PATH_BUFFER_SIZE];
    if (!CopyWhole(directory, COUNTOF(directory) - 1, parts.SourceDirectory))
        return FALSE;
    AppendBackslash(directory, COUNTOF(directory));
    return PluginFileIn(path, directory, parts);
}

// Whether target (ending in a backslash) on the device may take this source's copy: nothing is
// there yet, or a folder that already holds this source's plugin file, byte for byte (an earlier
// run's copy of it). A folder of an earlier run that holds another plugin, or only a part of
// one, is not mixed with this one.
BOOL FreeOnDevice(const char *target, const PluginValue &parts)
{
    char folder[PATH_BUFFER_SIZE];
    CopyBounded(folder, COUNTOF(folder), target);
    StripBackslash(folder);
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    char onDevice[PATH_BUFFER_SIZE], source[PATH_BUFFER_SIZE];
    return PluginFileIn(onDevice, target, parts) && SourcePluginFile(source, parts) &&
           SameFileContent(onDevice, source);
}

// The plugin base\kind\name\ into target. With create, each level is made as it is reached; FALSE
// (nothing made below the level that does not fit) when the path does not fit.
BOOL TargetDirectory(char (&target)[PATH_BUFFER_SIZE], int kind, const char *name, BOOL create)
{
    CopyBounded(target, COUNTOF(target), PluginRoot);
    if (create)
        CreateDirectoryA(target, NULL);
    AppendBackslash(target, COUNTOF(target));
    const char *levels[] = {PluginKind[kind].TargetSubdir, name};
    for (const char *level : levels) {
        // Room is kept for the backslash after the level.
        if (!JoinPath(target, COUNTOF(target) - 1, target, level))
            return FALSE;
        if (create)
            CreateDirectoryA(target, NULL);
        AppendBackslash(target, COUNTOF(target));
    }
    return TRUE;
}

// The name of the device folder for a source directory that is copied anew: the base name, or,
// when an earlier row of another source directory already got that folder or the device holds it
// with something else in it, the base name followed by "_2", "_3", ... (the first one free), so
// that no copy lands among another plugin's files. FALSE when a name that is needed does not fit
// a path; folderName then holds it.
BOOL ChooseFolderName(char *folderName, int capacity, int row, int kind, const char *baseName,
                      const PluginValue &parts)
{
    CopyBounded(folderName, capacity, baseName);
    for (int suffix = 2;; ++suffix) {
        char target[PATH_BUFFER_SIZE];
        if (!TargetDirectory(target, kind, folderName, FALSE))
            return FALSE;
        if (!TakenByAnotherSource(row, target, parts.SourceDirectory) && FreeOnDevice(target, parts))
            return TRUE;
        char number[16];
        wsprintfA(number, "_%d", suffix);
        if (!JoinPath(folderName, capacity, baseName, number))
            return FALSE;
    }
}

// A checked plugin whose directory on the device would not fit a path is not passed over in
// silence: it is reported as the tree copy reports a target that does not fit.
void ReportTargetTooLong(int kind, const char *folderName, const InstallReport &report)
{
    char whole[4 * PATH_BUFFER_SIZE];
    CopyBounded(whole, COUNTOF(whole), PluginRoot);
    AppendBounded(whole, COUNTOF(whole), "\\");
    AppendBounded(whole, COUNTOF(whole), PluginKind[kind].TargetSubdir);
    AppendBounded(whole, COUNTOF(whole), "\\");
    AppendBounded(whole, COUNTOF(whole), folderName);
    AppendBounded(whole, COUNTOF(whole), "\\");
    ReportCopyFailure(whole, ERROR_FILENAME_EXCED_RANGE, report);
}

// A registration must name a file on the device that holds its own source's bytes: the plugin
// file may be missing from its source directory, be of a kind the copy leaves behind, or be a
// file the device held before that the copy did not replace. Reported as a file that did not
// arrive. lastFound (capacity bytes) holds the last file found whole, so that thousands of rows
// of one plugin file cost one look; rows that share a device folder share its source.
BOOL PluginFileArrived(char *lastFound, int capacity, const char *target, const PluginValue &parts,
                       const InstallReport &report)
{
    char path[2 * PATH_BUFFER_SIZE];
    CopyBounded(path, COUNTOF(path), target);
    AppendBounded(path, COUNTOF(path), parts.FileName);
    if (lstrcmpA(path, lastFound) == 0)
        return TRUE;
    DWORD attributes = lstrlenA(path) <= PATH_MAX_CHARS ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ReportCopyFailure(path, ERROR_FILE_NOT_FOUND, report);
        return FALSE;
    }
    char source[PATH_BUFFER_SIZE];
    if (!SourcePluginFile(source, parts) || !SameFileContent(path, source)) {
        ReportCopyFailure(path, ERROR_FILE_EXISTS, report);
        return FALSE;
    }
    CopyBounded(lastFound, capacity, path);
    return TRUE;
}

// The part of target after the expanded plugin base and its backslash; NULL when target does
// not lie in the plugin tree.
const char *RelativeTarget(const char *target)
{
    char base[PATH_BUFFER_SIZE];
    CopyBounded(base, COUNTOF(base), PluginRoot);
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
        CopyBounded(portableKey, COUNTOF(portableKey), desktopKey);

    // Each part fits a path buffer; the whole is never cut into another path.
    char value[4 * PATH_BUFFER_SIZE] = "";
    if (kind == KIND_PACKER)
        AppendBounded(value, COUNTOF(value), parts.Flags);
    AppendBounded(value, COUNTOF(value), PLUGIN_BASE);
    AppendBounded(value, COUNTOF(value), "\\");
    AppendBounded(value, COUNTOF(value), relativeTarget);
    AppendBounded(value, COUNTOF(value), parts.FileName);
    GatherSectionKey(entry.Section, portableKey, value);
    if (!entry.Renumbered)
        return;

    char desktopCompanion[PATH_BUFFER_SIZE + 8], portableCompanion[PATH_BUFFER_SIZE + 8];
    CopyBounded(desktopCompanion, COUNTOF(desktopCompanion), desktopKey);
    AppendBounded(desktopCompanion, COUNTOF(desktopCompanion), "_detect");
    CopyBounded(portableCompanion, COUNTOF(portableCompanion), portableKey);
    AppendBounded(portableCompanion, COUNTOF(portableCompanion), "_detect");
    static char detect[DETECT_TEXT_SIZE];
    static char quoted[DETECT_TEXT_SIZE + 2];
    SectionValue(detect, DETECT_TEXT_SIZE, DesktopSection(kind), desktopCompanion);
    if (!detect[0]) {
        GatherSectionKey(entry.Section, portableCompanion, NULL);
        return;
    }
    quoted[0] = '"';
    CopyBounded(quoted + 1, COUNTOF(quoted) - 1, detect);
    AppendBounded(quoted, COUNTOF(quoted), "\"");
    GatherSectionKey(entry.Section, portableCompanion, quoted);
}

void TransferCheckedRows(const InstallReport &report)
{
    const int rows = PluginRows.Count;
    int runningNumbers[PLUGIN_KIND_COUNT] = {};
    if (InstallState.AbortRequested)
        return;
    const int checked = CountCheckedPluginRows();
    if (checked == 0 || rows == 0)
        return;
    LoadPluginRoot();
    // What this run finds out replaces what the page saw: rows not reached keep no directory.
    for (int row = 0; row < rows; ++row) {
        PluginRow &record = PluginRows.Rows[row];
        record.SourceDirectory[0] = '\0';
        record.DeviceFolder[0] = '\0';
        record.ArrivedWhole = FALSE;
        record.SharesWith = -1;
    }

    int accumulator = 200;
    char lastFound[2 * PATH_BUFFER_SIZE] = "";
    for (int row = 0; row < rows; ++row) {
        // Rows that share a copied directory reach no tree copy, which would let messages through:
        // thousands of them would otherwise leave the page frozen and deaf to Cancel.
        report.LetMessagesThrough(report.Context);
        if (InstallState.AbortRequested)
            return;
        PluginRow &record = PluginRows.Rows[row];
        if (!record.Checked)
            continue;
        report.Status(report.Context, record.Label);
        report.Progress(report.Context, accumulator / (checked + 2));
        accumulator += 100;
        const int kind = record.Kind;

        // The value as the settings file holds it now, which may differ from what the page saw.
        // Read with one byte to spare, so that a value too long for a path buffer shows as such.
        char setting[PATH_BUFFER_SIZE + 1];
        PluginValue parts;
        PluginValueResult parsed = PLUGIN_VALUE_TOO_LONG;
        if (SectionValue(setting, COUNTOF(setting), DesktopSection(kind), record.Key) <= PATH_MAX_CHARS)
            parsed = ParsePluginValue(&parts, setting);
        if (parsed == PLUGIN_VALUE_TOO_LONG) {
            // A checked plugin that cannot be copied is not passed over in silence either: the
            // box names it by its row label.
            ReportCopyFailure(record.Label, ERROR_FILENAME_EXCED_RANGE, report);
            continue;
        }
        if (parsed != PLUGIN_VALUE_SPLIT)
            continue;
        // A plugin file at a drive's or share's root, or with no directory before it: its
        // directory is a whole volume, or whatever directory is current, never one plugin's.
        if (NamesWholeVolume(parts.SourceDirectory)) {
            ReportCopyFailure(record.Label, ERROR_INVALID_NAME, report);
            continue;
        }
        // The file name goes into the registration, the base name into the device's path.
        char baseName[PATH_BUFFER_SIZE];
        FileBaseName(baseName, COUNTOF(baseName), parts.FileName);
        if (!IsSafeDeviceName(parts.FileName) || !IsSafeDeviceName(baseName)) {
            ReportCopyFailure(record.Label, ERROR_INVALID_NAME, report);
            continue;
        }

        // The directory an earlier row of the same source was given is used again; its copy is
        // made again (keeping what arrived) unless it arrived whole.
        record.SharesWith = NearestSharingRow(row, parts.SourceDirectory);
        CopyBounded(record.SourceDirectory, COUNTOF(record.SourceDirectory), parts.SourceDirectory);
        char target[PATH_BUFFER_SIZE] = "";
        const PluginRow *sharing = record.SharesWith >= 0 ? &PluginRows.Rows[record.SharesWith] : NULL;
        BOOL reused = sharing && sharing->DeviceFolder[0] && RelativeTarget(sharing->DeviceFolder);
        BOOL arrived = reused && sharing->ArrivedWhole;
        if (reused) {
            CopyBounded(target, COUNTOF(target), sharing->DeviceFolder);
        } else {
            char folderName[PATH_BUFFER_SIZE];
            BOOL named = ChooseFolderName(folderName, COUNTOF(folderName), row, kind, baseName, parts);
            if (!TargetDirectory(target, kind, folderName, TRUE) || !named) {
                ReportTargetTooLong(kind, folderName, report);
                continue;
            }
        }
        CopyBounded(record.DeviceFolder, COUNTOF(record.DeviceFolder), target);
        if (!arrived)
            arrived = CopyTree(parts.SourceDirectory, target, report);
        record.ArrivedWhole = arrived;
        if (!arrived || !PluginFileArrived(lastFound, COUNTOF(lastFound), target, parts, report))
            continue;
        RegisterPlugin(kind, record.Key, parts, RelativeTarget(target), &runningNumbers[kind]);
    }
}

}  // namespace

// The registrations are gathered and written once per section, however the transfer ends: a
// write per key would rewrite the whole file each time.
void TransferPlugins(const InstallReport &report)
{
    BeginSectionWrites(InstallState.TargetIniPath);
    TransferCheckedRows(report);
    FlushSectionWrites();
    for (int kind = 0; kind < PLUGIN_KIND_COUNT; ++kind) {
        if (DesktopSectionRead[kind])
            FreeProfileSection(&DesktopSections[kind]);
        DesktopSectionRead[kind] = FALSE;
    }
}
