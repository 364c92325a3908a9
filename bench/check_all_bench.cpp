// "Check all" on the real plugin page (2,000 rows, 1,000 directories) against the same "Check all"
// on a bare check-box list view that keeps no total.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "base/install_state.h"
#include "bench_clock.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "pages/wizard.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"

namespace {

const int ROWS = 2000;
const int DIRECTORIES = 1000;
const int ROUNDS = 7;

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// One "Check all" on a list whose rows are all unchecked.
double TimeCheckAll(HWND list, void (*checkAll)(HWND), void (*uncheckAll)(HWND))
{
    uncheckAll(list);
    double start = Seconds();
    checkAll(list);
    return Seconds() - start;
}

HWND PluginPage;

void ClickCheckAll(HWND) { SendMessageA(PluginPage, WM_COMMAND, IDC_CHECK_ALL, 0); }
void ClickUncheckAll(HWND) { SendMessageA(PluginPage, WM_COMMAND, IDC_UNCHECK_ALL, 0); }
void BareCheckAll(HWND list) { SetItemChecks(list, TRUE, FALSE); }
void BareUncheckAll(HWND list) { SetItemChecks(list, FALSE, FALSE); }

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InstallState.Instance = GetModuleHandleA(NULL);

    std::string root = FreshTempDirectory("check_all_bench");
    std::string settings = "[PackerPlugins]\n";
    for (int dir = 0; dir < DIRECTORIES; ++dir)
        WriteSizedFile(root + "\\p" + std::to_string(dir) + "\\p.vpx", 1000 + dir);
    for (int row = 0; row < ROWS; ++row)
        settings += "k" + std::to_string(row) + "=" + root + "\\p" + std::to_string(row % DIRECTORIES) + "\\p.vpx\n";
    WriteTextFile(root + "\\vtmain.ini", settings);
    lstrcpyA(InstallState.SourceIniPath, (root + "\\vtmain.ini").c_str());

    PluginPage = CreateDialogParamA(InstallState.Instance, MAKEINTRESOURCEA(IDD_PLUGINS), NULL, PluginPageProc, 0);
    HWND pluginList = GetDlgItem(PluginPage, IDC_PLUGIN_LIST);
    if (ListRowCount(pluginList) != ROWS) {
        printf("plugin page listed %d rows instead of %d\n", ListRowCount(pluginList), ROWS);
        return 1;
    }
    // The same template and the same rows, in a dialog that keeps no total.
    HWND bare = CreateDialogParamA(InstallState.Instance, MAKEINTRESOURCEA(IDD_PLUGINS), NULL, BareDialogProc, 0);
    HWND bareList = GetDlgItem(bare, IDC_PLUGIN_LIST);
    const ListColumn columns[] = {{"Plugin", FIRST_COLUMN_FILLS}, {"Size", 50}, {"Path", 0}, {"Copied to", 0}};
    PrepareCheckList(bareList, columns, 4);
    for (int row = 0; row < ROWS; ++row) {
        char text[PATH_BUFFER_SIZE];
        GetListText(text, COUNTOF(text), pluginList, row, 0);
        int added = AppendListRow(bareList, text);
        for (int subitem = 1; subitem < 4; ++subitem) {
            GetListText(text, COUNTOF(text), pluginList, row, subitem);
            SetListText(bareList, added, subitem, text);
        }
    }

    // Rounds taking turns, after one of each to warm up; the best of each side counts.
    TimeCheckAll(pluginList, ClickCheckAll, ClickUncheckAll);
    TimeCheckAll(bareList, BareCheckAll, BareUncheckAll);
    double page = 1e9, plain = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        double took = TimeCheckAll(pluginList, ClickCheckAll, ClickUncheckAll);
        page = took < page ? took : page;
        took = TimeCheckAll(bareList, BareCheckAll, BareUncheckAll);
        plain = took < plain ? took : plain;
    }
    char total[64];
    GetDlgItemTextA(PluginPage, IDC_CHECKED_TOTAL, total, COUNTOF(total));
    printf("check all, %d rows in %d directories (best of %d):\n", ROWS, DIRECTORIES, ROUNDS);
    printf("  plugin page with its total  %8.2f ms  (total shown: %s)\n", page * 1000, total);
    printf("  bare check-box list view    %8.2f ms\n", plain * 1000);
    printf("  ratio page / bare           %8.2f  (goal: at most 2)\n", page / plain);
    DestroyWindow(PluginPage);
    DestroyWindow(bare);
    RemoveTree(root);
    return 0;
}
