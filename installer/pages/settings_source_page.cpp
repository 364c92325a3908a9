#include <windows.h>
#include <commctrl.h>

#include "base/install_state.h"
#include "files/file_exists.h"
#include "pages/browse_ini_file.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

// Switched together with IDC_COPY_SETTINGS, in this order.
const int DEPENDENT_CONTROLS[] = {IDC_MAIN_INI_EDIT,  IDC_BROWSE_MAIN_INI, IDC_FTP_INI_EDIT, IDC_BROWSE_FTP_INI,
                                  IDC_GENERAL_LABEL, IDC_FTP_LABEL,       IDC_COPY_PLUGINS};

BOOL IsBoxChecked(HWND page, int id)
{
    return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The check mark of IDC_COPY_PLUGINS is left alone: a checked box stays checked while disabled.
void OnCopySettingsClicked(HWND page)
{
    BOOL enable = IsBoxChecked(page, IDC_COPY_SETTINGS);
    for (int id : DEPENDENT_CONTROLS)
        EnableWindow(GetDlgItem(page, id), enable);
}

void OnInitDialog(HWND page)
{
    CheckDlgButton(page, IDC_COPY_SETTINGS, BST_UNCHECKED);
    // CheckDlgButton sends no click: the page sends itself one, so that the dependent controls
    // follow the cleared box through the same handler as a user's click, and start disabled.
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_COPY_SETTINGS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_COPY_SETTINGS)));
    SetDlgItemTextA(page, IDC_MAIN_INI_EDIT, InstallState.SourceIniPath);
    SetDlgItemTextA(page, IDC_FTP_INI_EDIT, InstallState.SourceFtpIniPath);
}

void OnBrowse(HWND page, int editId)
{
    char path[PATH_BUFFER_SIZE];
    GetDlgItemTextA(page, editId, path, COUNTOF(path));
    if (BrowseIniFile(path, COUNTOF(path)))
        SetDlgItemTextA(page, editId, path);
}

void OnCommand(HWND page, int id)
{
    switch (id) {
    case IDC_COPY_SETTINGS:
        OnCopySettingsClicked(page);
        break;
    case IDC_BROWSE_MAIN_INI:
        OnBrowse(page, IDC_MAIN_INI_EDIT);
        break;
    case IDC_BROWSE_FTP_INI:
        OnBrowse(page, IDC_FTP_INI_EDIT);
        break;
    }
}

// The flags and paths are stored before the check, so a failed Next has updated them too.
// The edit boxes are read with the whole buffer as bound: a path of 259 characters, as
// discovery or the open-file dialog may give, is taken whole.
LONG_PTR OnWizardNext(HWND page)
{
    InstallState.CopySettings = IsBoxChecked(page, IDC_COPY_SETTINGS) ? 1 : 0;
    InstallState.CopyPlugins = (InstallState.CopySettings && IsBoxChecked(page, IDC_COPY_PLUGINS)) ? 1 : 0;
    if (InstallState.CopySettings) {
        GetDlgItemTextA(page, IDC_MAIN_INI_EDIT, InstallState.SourceIniPath, COUNTOF(InstallState.SourceIniPath));
        GetDlgItemTextA(page, IDC_FTP_INI_EDIT, InstallState.SourceFtpIniPath,
                        COUNTOF(InstallState.SourceFtpIniPath));
        if (!FileExists(InstallState.SourceIniPath)) {
            MessageBoxA(page, "Specified settings file not found!", InstallState.SourceIniPath,
                        MB_OK | MB_ICONINFORMATION);
            return PAGE_STAY;
        }
    }
    return InstallState.CopyPlugins ? PAGE_MOVE_ON : IDD_SUMMARY;
}

INT_PTR OnNotify(HWND page, const NMHDR *header)
{
    if (header->code == PSN_WIZNEXT)
        return AnswerNotification(page, OnWizardNext(page));
    return AnswerNotification(page, PAGE_MOVE_ON);
}

}  // namespace

INT_PTR CALLBACK SettingsSourcePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        OnCommand(page, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
    }
    return FALSE;
}
