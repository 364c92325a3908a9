// The settings-files page's rows as data: one record per other settings file beside the desktop
// main settings file. The page fills the table and draws its list from it; a check-box change
// writes Checked; the installation copies the checked files. Empty until the page was first shown.
#pragma once

#include <windows.h>

#include "base/buffers.h"
#include "lists/row_storage.h"

struct SettingsFileRow {
    char Name[PATH_BUFFER_SIZE];  // the file's name, as the directory search returned it
    unsigned long long SizeBytes;
    BOOL Checked;
};

extern RowTable<SettingsFileRow> SettingsFileRows;

// A new zeroed row at the end; NULL when memory runs out.
SettingsFileRow *AppendSettingsFileRow();

void ClearSettingsFileRows();

int CountCheckedSettingsFileRows();
