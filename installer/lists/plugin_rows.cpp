#include "lists/plugin_rows.h"

#include <stdlib.h>

#include "base/file_name_compare.h"

RowTable<PluginRow> PluginRows;

namespace {

// Each row's directory folded as the file system compares names, folded once per linking: row
// r's name starts at FoldedNames + FoldedOffsets[r].
WCHAR *FoldedNames;
int *FoldedOffsets;

const WCHAR *FoldedName(int row)
{
    return FoldedNames + FoldedOffsets[row];
}

// By folded directory, then by row: a group's rows come out in list order.
int CompareRowsByDirectory(const void *a, const void *b)
{
    int left = *static_cast<const int *>(a), right = *static_cast<const int *>(b);
    int order = CompareFoldedNames(FoldedName(left), FoldedName(right));
    return order ? order : left - right;
}

void *Allocate(SIZE_T bytes)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1);
}

void Release(void *block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

BOOL FoldDirectories(int rows)
{
    FoldedNames = static_cast<WCHAR *>(Allocate(static_cast<SIZE_T>(rows) * PATH_BUFFER_SIZE * sizeof(WCHAR)));
    FoldedOffsets = static_cast<int *>(Allocate(static_cast<SIZE_T>(rows) * sizeof(int)));
    if (!FoldedNames || !FoldedOffsets)
        return FALSE;
    int used = 0;
    for (int row = 0; row < rows; ++row) {
        FoldedOffsets[row] = used;
        used += FoldFileName(FoldedNames + used, PATH_BUFFER_SIZE, PluginRows.Rows[row].SourceDirectory) + 1;
    }
    return TRUE;
}

}  // namespace

PluginRow *AppendPluginRow()
{
    PluginRow *row = AppendRow(PluginRows);
    if (row)
        row->SharesWith = -1;
    return row;
}

void ClearPluginRows()
{
    ClearRows(PluginRows);
}

int CountCheckedPluginRows()
{
    return CountCheckedRows(PluginRows);
}

BOOL LinkSharedDirectories()
{
    const int rows = PluginRows.Count;
    for (int row = 0; row < rows; ++row)
        PluginRows.Rows[row].SharesWith = -1;
    int *order = static_cast<int *>(Allocate(static_cast<SIZE_T>(rows) * sizeof(int)));
    BOOL linked = order && FoldDirectories(rows);
    if (linked) {
        for (int row = 0; row < rows; ++row)
            order[row] = row;
        qsort(order, rows, sizeof(int), CompareRowsByDirectory);
        for (int i = 1; i < rows; ++i) {
            if (CompareFoldedNames(FoldedName(order[i - 1]), FoldedName(order[i])) == 0)
                PluginRows.Rows[order[i]].SharesWith = order[i - 1];
        }
    }
    Release(order);
    Release(FoldedNames);
    Release(FoldedOffsets);
    FoldedNames = NULL;
    FoldedOffsets = NULL;
    return linked;
}
