#include "startup/discovery.h"

#include "base/buffers.h"
#include "base/file_names.h"
#include "base/path_helpers.h"

namespace {

const char INSTALL_KEY[] = "SOFTWARE\\Ostrand\\Veltrano";
const char DEFAULT_INSTALL_DIR[] = "c:\\veltrfm";
// Room the registry may fill; a value that needs more counts as absent.
const DWORD VALUE_CAPACITY = 259;

// Copies a value's data, up to its first zero byte, into output (capacity bytes); leaves output
// alone, and FALSE, when the value is missing or does not fit.
BOOL ReadValueAsText(char *output, int capacity, HKEY key, const char *name)
{
    char data[PATH_BUFFER_SIZE];
    DWORD size = VALUE_CAPACITY;
    if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE *>(data), &size) != ERROR_SUCCESS)
        return FALSE;
    // DWORD and binary data, and strings stored without one, bring no terminator of their own.
    data[size < VALUE_CAPACITY ? size : VALUE_CAPACITY] = '\0';
    return CopyWhole(output, capacity, data);
}

// One value of the hive's Veltrano key, as ReadValueAsText reads it.
BOOL ReadInstallValue(char *output, int capacity, HKEY hive, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(hive, INSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    BOOL read = ReadValueAsText(output, capacity, key, name);
    RegCloseKey(key);
    return read;
}

// A dot is never the lead byte of a double-byte character, so the byte after it starts one.
BOOL StartsWithDotBackslash(const char *path)
{
    return path[0] == '.' && path[1] == '\\';
}

// Character-aware: a bare double-byte name whose trail byte is 0x5C holds no separator.
BOOL HasBackslash(const char *path)
{
    return LastCharOf(path, '\\') != NULL;
}

// One byte more than a path buffer, so that a directory of 259 characters still takes its
// separator and the join then sees the full length it needs.
void DirectoryWithBackslash(char (&target)[PATH_BUFFER_SIZE + 1], const char *directory)
{
    CopyBounded(target, PATH_BUFFER_SIZE, directory);
    AppendBackslash(target, COUNTOF(target));
}

}  // namespace

void ReadInstallKey(HKEY hive, char *first, int firstCapacity, char *second, int secondCapacity,
                    InstallKeySelector selector)
{
    HKEY key;
    if (RegOpenKeyExA(hive, INSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    if (selector == INSTALL_KEY_SETTINGS_NAMES) {
        ReadValueAsText(first, firstCapacity, key, "IniFileName");
        if (second)
            ReadValueAsText(second, secondCapacity, key, "FtpIniName");
    } else {
        ReadValueAsText(first, firstCapacity, key, "InstallDir");
    }
    RegCloseKey(key);
}

void FindDesktopDir(char *directory, int capacity)
{
    char iniName[PATH_BUFFER_SIZE] = "";
    ReadInstallKey(HKEY_LOCAL_MACHINE, iniName, COUNTOF(iniName), NULL, 0, INSTALL_KEY_SETTINGS_NAMES);
    ReadInstallKey(HKEY_CURRENT_USER, iniName, COUNTOF(iniName), NULL, 0, INSTALL_KEY_SETTINGS_NAMES);

    char found[PATH_BUFFER_SIZE] = "";
    ReadInstallKey(HKEY_LOCAL_MACHINE, found, COUNTOF(found), NULL, 0, INSTALL_KEY_INSTALL_DIR);
    ReadInstallKey(HKEY_CURRENT_USER, found, COUNTOF(found), NULL, 0, INSTALL_KEY_INSTALL_DIR);

    // The name is used as configured: a bare name is looked for in the Windows directory by the
    // profile interface itself. A ".\" name is relative to the directory being looked for.
    if (!found[0] && iniName[0] && !StartsWithDotBackslash(iniName)) {
        // One byte to spare: a longer value shows as such and counts as absent, never cut.
        char fromFile[PATH_BUFFER_SIZE + 1] = "";
        if (GetPrivateProfileStringA("Configuration", "InstallDir", "", fromFile, COUNTOF(fromFile), iniName) <=
            PATH_MAX_CHARS)
            CopyWhole(found, COUNTOF(found), fromFile);
    }
    if (!found[0])
        CopyBounded(found, COUNTOF(found), DEFAULT_INSTALL_DIR);
    if (!CopyWhole(directory, capacity, found) && capacity > 0)
        directory[0] = '\0';
}

BOOL ResolveSettingsPath(char (&path)[PATH_BUFFER_SIZE], const char *defaultName, const char *baseDirectory)
{
    char windowsDir[PATH_BUFFER_SIZE + 1] = "";
    char reported[PATH_BUFFER_SIZE];
    UINT length = GetWindowsDirectoryA(reported, PATH_MAX_CHARS);
    if (length > 0 && length < PATH_MAX_CHARS)
        DirectoryWithBackslash(windowsDir, reported);

    // A join that does not fit leaves the path as it came.
    if (!path[0]) {
        JoinPath(path, COUNTOF(path), windowsDir, defaultName);
    } else if (!HasBackslash(path)) {
        JoinPath(path, COUNTOF(path), windowsDir, path);
    } else if (StartsWithDotBackslash(path)) {
        char base[PATH_BUFFER_SIZE + 1];
        DirectoryWithBackslash(base, baseDirectory);
        JoinPath(path, COUNTOF(path), base, path + 2);
    }
    return ExpandEnvRefs(path, COUNTOF(path));
}

namespace {

// The user's value, else the machine's, else the default name. A value whose resolved path does
// not fit counts as absent, as one too long for the registry does: the next one applies.
void FindSettingsPath(char (&path)[PATH_BUFFER_SIZE], const char *valueName, const char *defaultName,
                      const char *installDir)
{
    const HKEY hives[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
    for (HKEY hive : hives) {
        char candidate[PATH_BUFFER_SIZE] = "";
        if (!ReadInstallValue(candidate, COUNTOF(candidate), hive, valueName))
            continue;
        if (ResolveSettingsPath(candidate, defaultName, installDir)) {
            CopyBounded(path, COUNTOF(path), candidate);
            return;
        }
    }
    path[0] = '\0';
    // The default path holds no reference: it resolves whole.
    ResolveSettingsPath(path, defaultName, installDir);
}

}  // namespace

void FindDesktopSettings(char (&mainIniPath)[PATH_BUFFER_SIZE], char (&ftpIniPath)[PATH_BUFFER_SIZE])
{
    char installDir[PATH_BUFFER_SIZE];
    FindDesktopDir(installDir, COUNTOF(installDir));
    FindSettingsPath(ftpIniPath, "FtpIniName", FTP_SETTINGS_FILE, installDir);
    FindSettingsPath(mainIniPath, "IniFileName", MAIN_SETTINGS_FILE, installDir);
}
