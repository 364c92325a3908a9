// Finds the desktop installation: registry values, then its main settings file, then defaults.
#pragma once

#include <windows.h>

#include "base/buffers.h"

// Which values of the Veltrano key ReadInstallKey reads.
enum InstallKeySelector {
    INSTALL_KEY_SETTINGS_NAMES,  // IniFileName into the first output, FtpIniName into the second
    INSTALL_KEY_INSTALL_DIR,     // InstallDir into the first output
};

// Reads the hive's SOFTWARE\Ostrand\Veltrano values as text, whatever their type, into outputs
// of the given capacities. second may be NULL. An output whose value is missing, needs more than
// 259 bytes or does not fit its capacity keeps its content; a present but empty value empties
// it. Read the machine first, then the user, into the same outputs: each user value then
// replaces the machine's.
void ReadInstallKey(HKEY hive, char *first, int firstCapacity, char *second, int secondCapacity,
                    InstallKeySelector selector);

// Installation directory exactly as found (not expanded; may end in a backslash): the
// registry, else InstallDir of the main settings file named there (a value longer than 259
// characters counts as absent), else "c:\veltrfm". Empty when it does not fit capacity.
void FindDesktopDir(char *directory, int capacity);

// Turns a configured settings path into a full one: empty gives the default name in the
// Windows directory, a bare name goes to the Windows directory, ".\" is taken from
// baseDirectory, anything else stays; the result is then expanded. A join that would pass
// 259 characters is not made: the path stays as it came and is only expanded. FALSE when the
// expansion does not fit: the path is then cut and must not be used.
BOOL ResolveSettingsPath(char (&path)[PATH_BUFFER_SIZE], const char *defaultName, const char *baseDirectory);

// Resolved and expanded paths of the desktop main and FTP settings files, each from the user's
// value, else the machine's, else the default; a value that does not fit once resolved and
// expanded counts as absent. Must run after VELTRANO_PATH has been exported, so that references to it resolve.
void FindDesktopSettings(char (&mainIniPath)[PATH_BUFFER_SIZE], char (&ftpIniPath)[PATH_BUFFER_SIZE]);
