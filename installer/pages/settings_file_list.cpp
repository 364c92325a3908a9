#include "pages/settings_file_list.h"

#include "base/caseless_compare.h"
#include "base/file_names.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "lists/list_rows.h"

BOOL IsExcludedSettingsFile(const char *name)
{
    const char *const excluded[] = {MAIN_SETTINGS_FILE, FTP_SETTINGS_FILE, "win.ini", "system.ini"};
    for (const char *file : excluded) {
        if (EqualsIgnoringCase(name, file))
            return TRUE;
    }
    return FALSE;
}

void FillSettingsFileRows()
{
    ClearSettingsFileRows();
    char pattern[PATH_BUFFER_SIZE];
    CopyBounded(pattern, COUNTOF(pattern), InstallState.SourceIniPath);
    char *lastBackslash = LastCharOf(pattern, '\\');
    if (!lastBackslash)
        return;
    lastBackslash[1] = '\0';
    if (!JoinPath(pattern, COUNTOF(pattern), pattern, "*.ini"))
        return;

    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (lstrcmpA(entry.cFileName, ".") == 0 || lstrcmpA(entry.cFileName, "..") == 0)
            continue;
        if (IsExcludedSettingsFile(entry.cFileName) || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        unsigned long long size = (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        if (size == 0)
            continue;
        SettingsFileRow *row = AppendSettingsFileRow();
        if (!row)
            break;
        CopyBounded(row->Name, COUNTOF(row->Name), entry.cFileName);
        row->SizeBytes = size;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

void DrawSettingsFileList(HWND list)
{
    for (int index = 0; index < SettingsFileRows.Count; ++index) {
        const SettingsFileRow &record = SettingsFileRows.Rows[index];
        int row = AppendListRow(list, record.Name);
        if (row < 0)
            continue;
        char sizeText[32];
        FormatKiB(sizeText, COUNTOF(sizeText), BytesToKiBRoundedUp(record.SizeBytes));
        SetListText(list, row, 1, sizeText);
    }
}
