#include "pages/checked_total.h"

#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "pages/check_list.h"
#include "pages/list_rows.h"
#include "pages/plugin_list.h"
#include "resources/resource.h"
#include "startup/install_state.h"

namespace {

// "Check all" changes every row and each change asks for the total: what is known of the rows
// is kept, so one change costs one state read instead of a pass over all rows.
struct TotalCache {
    HWND List;
    std::vector<int> Group;                 // per row: rows with an equal path share a group
    std::vector<unsigned long long> SizeKiB;  // per row
    std::vector<char> Checked;              // per row, as last read
    std::vector<std::vector<int>> Members;  // per group: its rows in list order
    std::vector<int> FirstChecked;          // per group: its first checked row, or -1
    unsigned long long Total;
    BOOL Written;
    unsigned long long WrittenTotal;
};

TotalCache Cache;

unsigned long long RowSizeKiB(HWND list, int row)
{
    char text[PATH_BUFFER_SIZE];
    GetListText(list, row, PLUGIN_COLUMN_SIZE, text, COUNTOF(text) - 1);
    int length = lstrlenA(text);
    if (length == 0)
        return 0;
    text[length - 1] = '\0';  // the "k"
    long long value = strtoll(text, NULL, 10);
    return value > 0 ? static_cast<unsigned long long>(value) : 0;
}

std::string PathKey(HWND list, int row)
{
    char path[PATH_BUFFER_SIZE];
    GetListText(list, row, PLUGIN_COLUMN_PATH, path, COUNTOF(path) - 1);
    CharUpperA(path);
    return path;
}

void Rebuild(HWND list)
{
    int rows = ListRowCount(list);
    Cache.List = list;
    Cache.Group.assign(rows, 0);
    Cache.SizeKiB.assign(rows, 0);
    Cache.Checked.assign(rows, 0);
    Cache.Members.clear();
    Cache.FirstChecked.clear();
    Cache.Total = 0;
    std::unordered_map<std::string, int> groups;
    for (int row = 0; row < rows; ++row) {
        auto found = groups.emplace(PathKey(list, row), static_cast<int>(Cache.Members.size()));
        if (found.second) {
            Cache.Members.emplace_back();
            Cache.FirstChecked.push_back(-1);
        }
        int group = found.first->second;
        Cache.Group[row] = group;
        Cache.Members[group].push_back(row);
        Cache.SizeKiB[row] = RowSizeKiB(list, row);
        Cache.Checked[row] = IsItemChecked(list, row) ? 1 : 0;
        if (Cache.Checked[row] && Cache.FirstChecked[group] < 0) {
            Cache.FirstChecked[group] = row;
            Cache.Total += Cache.SizeKiB[row];
        }
    }
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
    for (int member : Cache.Members[group]) {
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
    Cache.List = NULL;
    Cache.Group.clear();
    Cache.Written = FALSE;
}

void UpdateCheckedTotal(HWND page, HWND list, int changedRow)
{
    BOOL known = Cache.List == list && static_cast<int>(Cache.Group.size()) == ListRowCount(list);
    if (!known || changedRow < 0 || changedRow >= static_cast<int>(Cache.Group.size())) {
        Rebuild(list);
        Cache.Written = FALSE;
    } else {
        ApplyRowChange(list, changedRow);
    }
    if (Cache.Written && Cache.WrittenTotal == Cache.Total)
        return;
    char text[32];
    FormatKiB(text, COUNTOF(text), Cache.Total);
    SetDlgItemTextA(page, IDC_CHECKED_TOTAL, text);
    Cache.Written = TRUE;
    Cache.WrittenTotal = Cache.Total;
}
