// The installation run the progress page starts once.
#pragma once

#include <windows.h>

// page: the progress page, whose status line and progress bar the run updates.
void RunInstallation(HWND page);

// Copies the checked rows of the settings-files list beside the portable main settings file.
void CopyExtraSettingsFiles(HWND page);
