// The other settings files beside the desktop main settings file, and the settings-files page's
// list drawn from them.
#pragma once

#include <windows.h>

#include "lists/settings_file_rows.h"

// Empties SettingsFileRows, then one row for each other *.ini file beside
// InstallState.SourceIniPath, with its size, in the order the directory search returns them.
void FillSettingsFileRows();

// One list row per record, in table order: name and size; rows start unchecked, as records do.
void DrawSettingsFileList(HWND list);

// The names the list never offers: the main and FTP settings files and the system's own.
BOOL IsExcludedSettingsFile(const char *name);
