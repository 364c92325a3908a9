#include "lists/settings_file_rows.h"

#include "lists/row_storage.h"

SettingsFileRowTable SettingsFileRows;

SettingsFileRow *AppendSettingsFileRow()
{
    void *rows = SettingsFileRows.Rows;
    SettingsFileRow *row = static_cast<SettingsFileRow *>(
        NextRecord(&rows, &SettingsFileRows.Capacity, SettingsFileRows.Count, sizeof(SettingsFileRow)));
    SettingsFileRows.Rows = static_cast<SettingsFileRow *>(rows);
    if (row)
        ++SettingsFileRows.Count;
    return row;
}

void ClearSettingsFileRows()
{
    void *rows = SettingsFileRows.Rows;
    ReleaseRecords(&rows, &SettingsFileRows.Capacity);
    SettingsFileRows.Rows = NULL;
    SettingsFileRows.Count = 0;
}

int CountCheckedSettingsFileRows()
{
    int checked = 0;
    for (int row = 0; row < SettingsFileRows.Count; ++row) {
        if (SettingsFileRows.Rows[row].Checked)
            ++checked;
    }
    return checked;
}
