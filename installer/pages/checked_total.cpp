#include "pages/checked_total.h"

#include "base/buffers.h"
#include "lists/list_rows.h"
#include "lists/plugin_rows.h"
#include "resources/resource.h"

namespace {

// "Check all" changes every row and each change asks for the total: what is known of the rows
// is kept, so one change costs one look at its record instead of a pass over all rows. Rows
// sharing a directory form a group; a group's rows lie in list order in GroupRows, from
// GroupStart[g] to GroupStart[g + 1].
struct TotalCache {
    int Rows;
    int *Group;         // per row
    char *Checked;      // per row, as last seen
    int *GroupRows;     // rows ordered by group, then by list order
    int *GroupStart;    // per group, and one past the last
    int *FirstChecked;  // per group: its first checked row, or -1
    unsigned long long Total;
    BOOL Written;
    unsigned long long WrittenTotal;
};

TotalCache Cache;

void *Allocate(SIZE_T bytes)
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
    Release(Cache.Checked);
    Release(Cache.GroupRows);
    Release(Cache.GroupStart);
    Release(Cache.FirstChecked);
    Cache = TotalCache();
}

unsigned long long RowSizeKiB(int row)
{
    return BytesToKiBRoundedUp(PluginRows.Rows[row].SizeBytes);
}

void Rebuild()
{
    ReleaseCache();
    const int rows = PluginRows.Count;
    Cache.Rows = rows;
    Cache.Group = static_cast<int *>(Allocate(rows * sizeof(int)));
    Cache.Checked = static_cast<char *>(Allocate(rows));
    Cache.GroupRows = static_cast<int *>(Allocate(rows * sizeof(int)));
    Cache.GroupStart = static_cast<int *>(Allocate((rows + 1) * sizeof(int)));
    Cache.FirstChecked = static_cast<int *>(Allocate((rows + 1) * sizeof(int)));
    if (!Cache.Group || !Cache.Checked || !Cache.GroupRows || !Cache.GroupStart || !Cache.FirstChecked) {
        ReleaseCache();
        return;
    }

    // A row joins the group of the row it shares its directory with, which comes before it.
    int groups = 0;
    for (int row = 0; row < rows; ++row) {
        int shares = PluginRows.Rows[row].SharesWith;
        Cache.Group[row] = shares >= 0 && shares < row ? Cache.Group[shares] : groups++;
        ++Cache.GroupStart[Cache.Group[row] + 1];
    }
    for (int group = 0; group < groups; ++group) {
        Cache.GroupStart[group + 1] += Cache.GroupStart[group];
        Cache.FirstChecked[group] = -1;
    }
    // Filled in list order, so each group's rows keep it.
    int *next = static_cast<int *>(Allocate((groups + 1) * sizeof(int)));
    if (!next) {
        ReleaseCache();
        return;
    }
    CopyMemory(next, Cache.GroupStart, groups * sizeof(int));
    for (int row = 0; row < rows; ++row) {
        int group = Cache.Group[row];
        Cache.GroupRows[next[group]++] = row;
        Cache.Checked[row] = PluginRows.Rows[row].Checked ? 1 : 0;
        if (Cache.Checked[row] && Cache.FirstChecked[group] < 0) {
            Cache.FirstChecked[group] = row;
            Cache.Total += RowSizeKiB(row);
        }
    }
    Release(next);
}

void ApplyRowChange(int row)
{
    char checked = PluginRows.Rows[row].Checked ? 1 : 0;
    if (checked == Cache.Checked[row])
        return;
    Cache.Checked[row] = checked;
    int group = Cache.Group[row];
    int first = Cache.FirstChecked[group];
    if (checked) {
        if (first >= 0 && first < row)
            return;
        Cache.Total += RowSizeKiB(row) - (first >= 0 ? RowSizeKiB(first) : 0);
        Cache.FirstChecked[group] = row;
        return;
    }
    if (first != row)
        return;
    int following = -1;
    for (int i = Cache.GroupStart[group]; i < Cache.GroupStart[group + 1]; ++i) {
        int member = Cache.GroupRows[i];
        if (member > row && Cache.Checked[member]) {
            following = member;
            break;
        }
    }
    Cache.Total += (following >= 0 ? RowSizeKiB(following) : 0) - RowSizeKiB(row);
    Cache.FirstChecked[group] = following;
}

}  // namespace

void ResetCheckedTotal()
{
    ReleaseCache();
}

void UpdateCheckedTotal(HWND page, int changedRow)
{
    BOOL known = Cache.Group && Cache.Rows == PluginRows.Count;
    if (!known || changedRow < 0 || changedRow >= Cache.Rows) {
        Rebuild();
    } else {
        ApplyRowChange(changedRow);
    }
    if (known && Cache.Written && Cache.WrittenTotal == Cache.Total)
        return;
    char text[32];
    FormatKiB(text, COUNTOF(text), Cache.Total);
    SetDlgItemTextA(page, IDC_CHECKED_TOTAL, text);
    Cache.Written = TRUE;
    Cache.WrittenTotal = Cache.Total;
}
