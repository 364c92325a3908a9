#include "pages/checked_total.h"

#include <stdlib.h>

#include "base/file_name_compare.h"
#include "base/buffers.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "pages/plugin_list.h"
#include "resources/resource.h"

namespace {

// "Check all" changes every row and each change asks for the total: what is known of the rows
// is kept, so one change costs one state read instead of a pass over all rows. Rows sharing a
// directory form a group; a group's rows lie in list order in GroupRows, from GroupStart[g] to
// GroupStart[g + 1].
struct TotalCache {
    HWND List;
    int Rows;
    int *Group;                  // per row
    unsigned long long *SizeKiB;  // per row
    char *Checked;               // per row, as last read
    int *GroupRows;              // rows ordered by group, then by list order
    int *GroupStart;             // per group, and one past the last
    int *FirstChecked;           // per group: its first checked row, or -1
    unsigned long long Total;
    BOOL Written;
    unsigned long long WrittenTotal;
};

TotalCache Cache;

// Each row's directory folded as the file system compares names, folded once per rebuild: rows of
// one directory are one group however the case of their letters differs. Row r's name starts at
// SortNames + SortOffsets[r].
WCHAR *SortNames;
int *SortOffsets;

const WCHAR *SortName(int row)
{
    return SortNames + SortOffsets[row];
}

int CompareRowsByPath(const void *a, const void *b)
{
    int left = *static_cast<const int *>(a), right = *static_cast<const int *>(b);
    int order = CompareFoldedNames(SortName(left), SortName(right));
    return order ? order : left - right;
}

void *Allocate(size_t bytes)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1);
}

void Release(void *block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

void ReleaseCache()
{
    Release(Cache.Group);
    Release(Cache.SizeKiB);
    Release(Cache.Checked);
    Release(Cache.GroupRows);
    Release(Cache.GroupStart);
    Release(Cache.FirstChecked);
    Cache = TotalCache();
}

unsigned long long RowSizeKiB(HWND list, int row)
{
    char text[PATH_BUFFER_SIZE];
    GetListText(text, COUNTOF(text) - 1, list, row, PLUGIN_COLUMN_SIZE);
    int length = lstrlenA(text);
    if (length == 0)
        return 0;
    text[length - 1] = '\0';  // the "k"
    long long value = _strtoi64(text, NULL, 10);
    return value > 0 ? static_cast<unsigned long long>(value) : 0;
}

// Folds every row's directory into SortNames; FALSE when memory runs out.
BOOL FoldRowPaths(HWND list, int rows)
{
    int capacity = rows * 64 + PATH_BUFFER_SIZE, used = 0;
    SortNames = static_cast<WCHAR *>(Allocate(capacity * sizeof(WCHAR)));
    SortOffsets = static_cast<int *>(Allocate(rows * sizeof(int)));
    if (!SortNames || !SortOffsets)
        return FALSE;
    for (int row = 0; row < rows; ++row) {
        if (capacity - used < PATH_BUFFER_SIZE) {
            capacity *= 2;
            void *grown = HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, SortNames, capacity * sizeof(WCHAR));
            if (!grown)
                return FALSE;
            SortNames = static_cast<WCHAR *>(grown);
        }
        char path[PATH_BUFFER_SIZE];
        GetListText(path, COUNTOF(path), list, row, PLUGIN_COLUMN_PATH);
        SortOffsets[row] = used;
        used += FoldFileName(SortNames + used, PATH_BUFFER_SIZE, path) + 1;
    }
    return TRUE;
}

void ReleaseSortNames()
{
    Release(SortNames);
    Release(SortOffsets);
    SortNames = NULL;
    SortOffsets = NULL;
}

void Rebuild(HWND list)
{
    ReleaseCache();
    const int rows = ListRowCount(list);
    Cache.List = list;
    Cache.Rows = rows;
    Cache.Group = static_cast<int *>(Allocate(rows * sizeof(int)));
    Cache.SizeKiB = static_cast<unsigned long long *>(Allocate(rows * sizeof(unsigned long long)));
    Cache.Checked = static_cast<char *>(Allocate(rows));
    Cache.GroupRows = static_cast<int *>(Allocate(rows * sizeof(int)));
    Cache.GroupStart = static_cast<int *>(Allocate((rows + 1) * sizeof(int)));
    Cache.FirstChecked = static_cast<int *>(Allocate((rows + 1) * sizeof(int)));
    if (!FoldRowPaths(list, rows)) {
        ReleaseSortNames();
        ReleaseCache();
        return;
    }

    for (int row = 0; row < rows; ++row) {
        Cache.SizeKiB[row] = RowSizeKiB(list, row);
        Cache.Checked[row] = IsItemChecked(list, row) ? 1 : 0;
        Cache.GroupRows[row] = row;
    }
    qsort(Cache.GroupRows, rows, sizeof(int), CompareRowsByPath);

    int groups = 0;
    for (int i = 0; i < rows; ++i) {
        int row = Cache.GroupRows[i];
        if (i == 0 || CompareFoldedNames(SortName(Cache.GroupRows[i - 1]), SortName(row)) != 0) {
            Cache.GroupStart[groups] = i;
            Cache.FirstChecked[groups] = -1;
            ++groups;
        }
        int group = groups - 1;
        Cache.Group[row] = group;
        if (Cache.Checked[row] && Cache.FirstChecked[group] < 0) {
            Cache.FirstChecked[group] = row;
            Cache.Total += Cache.SizeKiB[row];
        }
    }
    Cache.GroupStart[groups] = rows;
    ReleaseSortNames();
}

void ApplyRowChange(HWND list, int row)
{
    char checked = IsItemChecked(list, row) ? 1 : 0;
    if (checked == Cache.Checked[row])
        return;
    Cache.Checked[row] = checked;
    int group = Cache.Group[row];
    int first = Cache.FirstChecked[group];
    if (checked) {
        if (first >= 0 && first < row)
            return;
        Cache.Total += Cache.SizeKiB[row] - (first >= 0 ? Cache.SizeKiB[first] : 0);
        Cache.FirstChecked[group] = row;
        return;
    }
    if (first != row)
        return;
    int next = -1;
    for (int i = Cache.GroupStart[group]; i < Cache.GroupStart[group + 1]; ++i) {
        int member = Cache.GroupRows[i];
        if (member > row && Cache.Checked[member]) {
            next = member;
            break;
        }
    }
    Cache.Total += (next >= 0 ? Cache.SizeKiB[next] : 0) - Cache.SizeKiB[row];
    Cache.FirstChecked[group] = next;
}

}  // namespace

void ResetCheckedTotal()
{
    ReleaseCache();
}

void UpdateCheckedTotal(HWND page, HWND list, int changedRow)
{
    BOOL known = Cache.List == list && Cache.Rows == ListRowCount(list);
    if (!known || changedRow < 0 || changedRow >= Cache.Rows) {
        Rebuild(list);
    } else {
        ApplyRowChange(list, changedRow);
    }
    if (known && Cache.Written && Cache.WrittenTotal == Cache.Total)
        return;
    char text[32];
    FormatKiB(text, COUNTOF(text), Cache.Total);
    SetDlgItemTextA(page, IDC_CHECKED_TOTAL, text);
    Cache.Written = TRUE;
    Cache.WrittenTotal = Cache.Total;
}
