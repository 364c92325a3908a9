#include "lists/list_rows.h"

#include <commctrl.h>

#include "base/buffers.h"
#include "base/path_helpers.h"

void PrepareCheckList(HWND list, const ListColumn *columns, int count)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    RECT outer;
    GetWindowRect(list, &outer);
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].Width;
        if (column.cx == FIRST_COLUMN_FILLS)
            column.cx = (outer.right - outer.left) - GetSystemMetrics(SM_CXVSCROLL) - 55;
        column.pszText = const_cast<char *>(columns[i].Title);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

int ListRowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int AppendListRow(HWND list, const char *text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = ListRowCount(list);
    item.pszText = const_cast<char *>(text);
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetListText(HWND list, int row, int subitem, const char *text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = subitem;
    item.pszText = const_cast<char *>(text);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

BOOL GetListText(char *buffer, int capacity, HWND list, int row, int subitem)
{
    buffer[0] = '\0';
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = subitem;
    item.pszText = buffer;
    item.cchTextMax = capacity;
    return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

unsigned long long BytesToKiBRoundedUp(unsigned long long bytes)
{
    return bytes / 1024 + (bytes % 1024 ? 1 : 0);
}

void FormatKiB(char *text, int capacity, unsigned long long kib)
{
    char digits[24];
    int length = 0;
    do {
        digits[length++] = static_cast<char>('0' + kib % 10);
        kib /= 10;
    } while (kib);
    char formatted[COUNTOF(digits) + 2];
    for (int i = 0; i < length; ++i)
        formatted[i] = digits[length - 1 - i];
    formatted[length] = 'k';
    formatted[length + 1] = '\0';
    CopyBounded(text, capacity, formatted);
}
