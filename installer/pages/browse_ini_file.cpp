#include "pages/browse_ini_file.h"

#include <commdlg.h>
#include <cstddef>

#include "base/buffers.h"
#include "base/path_helpers.h"

namespace {

// The record without the places-bar extension, which the dialog accepts on every system.
const DWORD OPEN_FILE_RECORD_SIZE = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(OPEN_FILE_RECORD_SIZE == 76, "open-file record of the x86 build");
#endif

const DWORD OPEN_FILE_FLAGS = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

const char INI_FILTER[] = "ini files\0*.ini\0All Files\0*.*\0";

}  // namespace

BOOL BrowseIniFile(char *path, int capacity)
{
    char chosen[PATH_BUFFER_SIZE];
    CopyBounded(chosen, COUNTOF(chosen), path);

    OPENFILENAMEA dialog;
    ZeroMemory(&dialog, sizeof(dialog));
    dialog.lStructSize = OPEN_FILE_RECORD_SIZE;
    dialog.hwndOwner = NULL;
    dialog.lpstrFilter = INI_FILTER;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = COUNTOF(chosen);
    dialog.lpstrTitle = "Open original settings file";
    dialog.Flags = OPEN_FILE_FLAGS;
    if (!GetOpenFileNameA(&dialog))
        return FALSE;

    CopyBounded(path, capacity, chosen);
    return TRUE;
}
