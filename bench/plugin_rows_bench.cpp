// One packer registered for 100,000 extensions, all in one plugin directory: filling the plugin
// page and registering every row it lists, each against the least the same work needs through
// the same platform (the key names and values read, the rows added to a bare check-box list; the
// same keys and values written straight into the portable file), and against the limit of both:
// one read of the whole settings file and one write of it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "bench_clock.h"
#include "engine/plugin_transfer.h"
#include "lists/check_list.h"
#include "lists/list_rows.h"
#include "pages/progress_report.h"
#include "pages/wizard.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"

namespace {

const int KEYS = 100000;
const char VALUE[] = "21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx";

INT_PTR CALLBACK PlainPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The floor of the page fill: the section's key names and each key's value read through the
// profile functions, and a row with its path and size for each in a bare check-box list.
double FillBareList(HWND list, const std::string &settings)
{
    static char names[65536];
    double start = Seconds();
    GetPrivateProfileStringA("PackerPlugins", NULL, "", names, sizeof(names) - 1, settings.c_str());
    for (const char *key = names; *key; key += lstrlenA(key) + 1) {
        char value[PATH_BUFFER_SIZE];
        GetPrivateProfileStringA("PackerPlugins", key, "", value, COUNTOF(value), settings.c_str());
        int row = AppendListRow(list, (std::string("Packer: ") + key).c_str());
        SetListText(list, row, 1, "1k");
        SetListText(list, row, 2, value);
    }
    return Seconds() - start;
}

// The floor of the registrations: the same keys and values written into a copy of the settings.
double WriteKeysStraight(HWND list, const std::string &portable)
{
    double start = Seconds();
    const int rows = ListRowCount(list);
    for (int row = 0; row < rows; ++row) {
        char label[PATH_BUFFER_SIZE];
        GetListText(label, COUNTOF(label), list, row, 0);
        WritePrivateProfileStringA("PackerPlugins", label + 8, "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
                                   portable.c_str());
    }
    return Seconds() - start;
}

// The limit of any reading and writing of the settings: the whole file read at once and written
// at once, as a file of bytes.
double ReadAndWriteOnce(const std::string &from, const std::string &to)
{
    double start = Seconds();
    HANDLE source = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD size = GetFileSize(source, NULL);
    std::vector<char> bytes(size);
    DWORD moved = 0;
    ReadFile(source, bytes.data(), size, &moved, NULL);
    CloseHandle(source);
    HANDLE target = CreateFileA(to.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    WriteFile(target, bytes.data(), moved, &moved, NULL);
    CloseHandle(target);
    return Seconds() - start;
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    InstallState.Instance = GetModuleHandleA(NULL);

    std::string root = FreshTempDirectory("plugin_rows_bench");
    std::string desktop = root + "\\desktop", device = root + "\\device";
    WriteSizedFile(desktop + "\\plugins\\arc\\arc.vpx", 700);
    MakeDirectories(device);
    std::string settings = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n";
    for (int key = 0; key < KEYS; ++key)
        settings += "e" + std::to_string(key) + "=" + VALUE + "\r\n";
    WriteTextFile(desktop + "\\vtmain.ini", settings);
    // The portable file as the transfer finds it: the rewrite before it removed the plugin sections.
    const std::string portable = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n";
    WriteTextFile(device + "\\vtmain.ini", portable);
    WriteTextFile(root + "\\straight.ini", portable);
    SetEnvironmentVariableA("VELTRANO_PATH", desktop.c_str());
    SetEnvironmentVariableA("U3_APP_DATA_PATH", device.c_str());
    lstrcpyA(InstallState.SourceIniPath, (desktop + "\\vtmain.ini").c_str());
    lstrcpyA(InstallState.TargetIniPath, (device + "\\vtmain.ini").c_str());
    lstrcpyA(InstallState.AppDataPath, device.c_str());

    double start = Seconds();
    HWND pluginPage = CreateDialogParamA(InstallState.Instance, MAKEINTRESOURCEA(IDD_PLUGINS), NULL, PluginPageProc, 0);
    double pageFill = Seconds() - start;
    HWND pluginList = GetDlgItem(pluginPage, IDC_PLUGIN_LIST);
    const int rows = ListRowCount(pluginList);

    HWND bare = CreateDialogParamA(InstallState.Instance, MAKEINTRESOURCEA(IDD_PLUGINS), NULL, PlainPageProc, 0);
    HWND bareList = GetDlgItem(bare, IDC_PLUGIN_LIST);
    const ListColumn columns[] = {{"Plugin", FIRST_COLUMN_FILLS}, {"Size", 50}, {"Path", 0}, {"Copied to", 0}};
    PrepareCheckList(bareList, columns, 4);
    double bareFill = FillBareList(bareList, InstallState.SourceIniPath);

    SetItemChecks(pluginList, TRUE, FALSE);
    HWND progressPage =
        CreateDialogParamA(InstallState.Instance, MAKEINTRESOURCEA(IDD_PROGRESS), NULL, PlainPageProc, 0);
    start = Seconds();
    TransferPlugins(ProgressPageReport(progressPage));
    double transfer = Seconds() - start;
    double straight = WriteKeysStraight(pluginList, root + "\\straight.ini");
    double once = ReadAndWriteOnce(InstallState.SourceIniPath, root + "\\once.ini");

    printf("one packer for %d extensions in one directory, %d rows listed:\n", KEYS, rows);
    printf("  plugin page filled             %9.0f ms\n", pageFill * 1000);
    printf("  names and values into a bare list %6.0f ms\n", bareFill * 1000);
    printf("  ratio page / bare list         %9.2f  (goal: at most 0.20)\n", pageFill / bareFill);
    printf("  plugin transfer, all checked   %9.0f ms  (%.0f registrations/s)\n", transfer * 1000, rows / transfer);
    printf("  the same keys written straight %9.0f ms  (%.0f keys/s)\n", straight * 1000, rows / straight);
    printf("  ratio transfer / straight      %9.2f  (goal: at most 0.10)\n", transfer / straight);
    printf("  the limit: the settings file read once and written once %6.1f ms\n", once * 1000);
    DestroyWindow(progressPage);
    DestroyWindow(pluginPage);
    DestroyWindow(bare);
    RemoveTree(root);
    return 0;
}
