#pragma once

#include <windows.h>

// Rows for the other *.ini files beside InstallState.SourceIniPath, each with its size.
void FillSettingsFileList(HWND list);

// The names the list never offers: the main and FTP settings files and the system's own.
BOOL IsExcludedSettingsFile(const char *name);
