#include "lists/settings_file_rows.h"

RowTable<SettingsFileRow> SettingsFileRows;

SettingsFileRow *AppendSettingsFileRow()
{
    return AppendRow(SettingsFileRows);
}

void ClearSettingsFileRows()
{
    ClearRows(SettingsFileRows);
}

int CountCheckedSettingsFileRows()
{
    return CountCheckedRows(SettingsFileRows);
}
