#include "engine/installation.h"

#include "base/file_name_compare.h"
#include "base/file_names.h"
#include "base/install_state.h"
#include "base/language_table.h"
#include "base/path_helpers.h"
#include "engine/copy_failure.h"
#include "engine/device_name.h"
#include "engine/plugin_transfer.h"
#include "engine/portable_rewrite.h"
#include "engine/tree_copy.h"
#include "files/file_exists.h"
#include "files/whole_copy.h"
#include "lists/settings_file_rows.h"

namespace {

const char LANGUAGE_FILE_BASE[] = "%U3_DEVICE_EXEC_PATH%\\language\\vtmd_";
const char READY_NOTE[] = "You can now run Veltrano via the U3 Launchpad.";
// Settings values and list rows are taken with room for 258 characters and the terminator.
const int VALUE_MAX_CHARS = 258;
const DWORD EXTRA_FILES_PAUSE_MS = 100;

// Cuts the path after its last backslash, which stays; 0 when it has none.
int CutAfterLastBackslash(char *path)
{
    const char *last = LastCharOf(path, '\\');
    if (!last)
        return 0;
    path[last - path + 1] = '\0';
    return 1;
}

// Replaces target with source and leaves the copy with the archive attribute alone. A failed
// copy leaves the target's attributes alone: the target may be a directory, as for a button
// bar setting that ends in ".." or a backslash.
// No half-written copy stays: a settings file cut off by a full drive would end in a cut value.
void CopyReplacing(const char *source, const char *target)
{
    DWORD error;
    if (CopyWholeFile(source, target, FALSE, &error))
        SetFileAttributesA(target, FILE_ATTRIBUTE_ARCHIVE);
}

// The one file the device cannot do without: a copy that fails is put to the user as the tree
// copy puts its failures (OK goes on, Cancel stops the plugins), so that a device left without
// its settings never ends as "complete" unannounced.
void CopyMainSettingsFile(const InstallReport &report)
{
    DWORD error;
    if (CopyWholeFile(InstallState.SourceIniPath, InstallState.TargetIniPath, FALSE, &error)) {
        SetFileAttributesA(InstallState.TargetIniPath, FILE_ATTRIBUTE_ARCHIVE);
        return;
    }
    ReportCopyFailure(InstallState.TargetIniPath, error, report);
}

// The name after the last separator: Windows takes '/' as one as well as '\\'.
const char *ButtonBarFileName(const char *path)
{
    const char *name = path;
    for (const char *c = path; *c; c = CharNextA(c)) {
        if (*c == '\\' || *c == '/')
            name = c + 1;
    }
    return name;
}

// The files and the directory the installer itself puts beside the button bar file: a bar of
// the same name would replace the settings file, be replaced by the FTP one, or block the
// plugin tree.
BOOL IsInstallerOwnName(const char *name)
{
    const char *const own[] = {ButtonBarFileName(InstallState.TargetIniPath), FTP_SETTINGS_FILE,
                               ButtonBarFileName(PLUGIN_BASE)};
    for (const char *ownName : own) {
        if (ownName[0] && SameFileName(name, ownName))
            return TRUE;
    }
    return FALSE;
}

// Copies source into the device's directory as name; FALSE when it did not arrive there.
BOOL CopyButtonBarAs(const char *source, const char *name)
{
    // No directory: a bare name would land in the current directory, the desktop installation.
    if (!InstallState.AppDataPath[0])
        return FALSE;
    char targetDir[PATH_BUFFER_SIZE];
    CopyBounded(targetDir, COUNTOF(targetDir), InstallState.AppDataPath);
    AppendBackslash(targetDir, COUNTOF(targetDir));
    char target[PATH_BUFFER_SIZE];
    if (!JoinPath(target, COUNTOF(target), targetDir, name))
        return FALSE;
    DWORD error;
    if (!CopyWholeFile(source, target, FALSE, &error))
        return FALSE;
    SetFileAttributesA(target, FILE_ATTRIBUTE_ARCHIVE);
    return TRUE;
}

// The name of the button bar file on the device into deviceName, for the portable rewrite: empty
// when no bar file arrived, so that the key names no file the device lacks.
// Leaves the desktop installation directory as the process's current directory.
void CopyButtonBarFile(char *deviceName, int capacity)
{
    // One byte more room than a path may use, so that a longer setting shows as such.
    char setting[PATH_BUFFER_SIZE + 1];
    int length = GetPrivateProfileStringA("buttonbar", "buttonbar", DEFAULT_BUTTON_BAR, setting,
                                          COUNTOF(setting), InstallState.SourceIniPath);
    char source[PATH_BUFFER_SIZE];
    BOOL whole = length <= PATH_MAX_CHARS && ExpandWhole(source, COUNTOF(source), setting);
    // A bare or relative name, the default included, lies in the desktop installation.
    SetCurrentDirectoryA(InstallState.DesktopDir);

    // The name must give a file of its own in the device's directory: no ".." or empty name,
    // no device, none of the installer's own files.
    const char *name = whole ? ButtonBarFileName(source) : "";
    if (whole && IsSafeDeviceName(name) && !IsInstallerOwnName(name)) {
        CopyBounded(deviceName, capacity, name);
        CopyButtonBarAs(source, name);
        return;
    }
    // A setting refused counts as no setting: the desktop's default bar file. Where that does not
    // arrive either, the key names no file rather than one the device lacks.
    if (CopyButtonBarAs(DEFAULT_BUTTON_BAR, DEFAULT_BUTTON_BAR))
        CopyBounded(deviceName, capacity, DEFAULT_BUTTON_BAR);
    else
        deviceName[0] = '\0';
}

void CopyFtpSettingsFile()
{
    if (!FileExists(InstallState.SourceFtpIniPath))
        return;
    char targetDir[PATH_BUFFER_SIZE];
    CopyBounded(targetDir, COUNTOF(targetDir), InstallState.TargetIniPath);
    // Without a directory the copy would land in the current one, the desktop installation.
    if (!CutAfterLastBackslash(targetDir))
        return;
    char target[PATH_BUFFER_SIZE];
    if (JoinPath(target, COUNTOF(target), targetDir, FTP_SETTINGS_FILE))
        CopyReplacing(InstallState.SourceFtpIniPath, target);
}

// A row outside the language table counts as English, the file manager's own language.
void RecordLanguage(const InstallReport &report)
{
    int index = InstallState.LanguageIndex;
    if (index <= LANGUAGE_ENGLISH || index >= LANGUAGE_COUNT) {
        WritePrivateProfileStringA("Configuration", "LanguageIni", NULL, InstallState.TargetIniPath);
        WritePrivateProfileStringA("Configuration", "Mainmenu", NULL, InstallState.TargetIniPath);
        return;
    }
    char base[PATH_BUFFER_SIZE];
    CopyBounded(base, COUNTOF(base), LANGUAGE_FILE_BASE);
    AppendBounded(base, COUNTOF(base), LanguageTable[index].Code);

    char value[PATH_BUFFER_SIZE];
    CopyBounded(value, COUNTOF(value), base);
    AppendBounded(value, COUNTOF(value), ".lng");
    WritePrivateProfileStringA("Configuration", "LanguageIni", value, InstallState.TargetIniPath);
    CopyBounded(value, COUNTOF(value), base);
    AppendBounded(value, COUNTOF(value), ".mnu");
    WritePrivateProfileStringA("Configuration", "Mainmenu", value, InstallState.TargetIniPath);
    report.Status(report.Context, READY_NOTE);
}

}  // namespace

void CopyExtraSettingsFiles(const InstallReport &report)
{
    char sourceDir[PATH_BUFFER_SIZE];
    CopyBounded(sourceDir, COUNTOF(sourceDir), InstallState.SourceIniPath);
    if (!CutAfterLastBackslash(sourceDir))
        return;
    char targetDir[PATH_BUFFER_SIZE];
    if (!ExpandWhole(targetDir, COUNTOF(targetDir), InstallState.TargetIniPath) || !CutAfterLastBackslash(targetDir))
        return;

    if (InstallState.AbortRequested || CountCheckedSettingsFileRows() == 0)
        return;
    for (int row = 0; row < SettingsFileRows.Count; ++row) {
        if (InstallState.AbortRequested)
            return;
        const SettingsFileRow &record = SettingsFileRows.Rows[row];
        // A name longer than a settings value is never taken cut: cut, it would name another file.
        if (!record.Checked || !record.Name[0] || lstrlenA(record.Name) > VALUE_MAX_CHARS)
            continue;
        const char *name = record.Name;
        report.Status(report.Context, name);
        char source[PATH_BUFFER_SIZE];
        char target[PATH_BUFFER_SIZE];
        // Never replaces a file already on the device; the result is not examined.
        DWORD error;
        if (JoinPath(source, COUNTOF(source), sourceDir, name) && JoinPath(target, COUNTOF(target), targetDir, name))
            CopyWholeFile(source, target, TRUE, &error);
    }
    if (!InstallState.AbortRequested) {
        report.Progress(report.Context, 100);
        Sleep(EXTRA_FILES_PAUSE_MS);
    }
}

// The settings steps run without letting window messages through; only the plugin
// transfer does, and a Cancel there still leaves the language recorded.
void RunInstallation(const InstallReport &report)
{
    InstallState.AbortRequested = 0;
    if (InstallState.CopySettings) {
        CopyMainSettingsFile(report);
        char buttonBarName[PATH_BUFFER_SIZE];
        CopyButtonBarFile(buttonBarName, COUNTOF(buttonBarName));
        CopyFtpSettingsFile();
        ApplyPortableRewrite(InstallState.TargetIniPath, buttonBarName);
        if (InstallState.CopyPlugins == 1)
            TransferPlugins(report);
        CopyExtraSettingsFiles(report);
    }
    RecordLanguage(report);
}
