#include "startup/startup.h"

#include <commctrl.h>
#include <objbase.h>

#include "base/caseless_compare.h"
#include "base/environment.h"
#include "base/file_names.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "pages/wizard.h"
#include "startup/discovery.h"

void ReadUpgradeMode()
{
    char value[PATH_BUFFER_SIZE] = "";
    DWORD got = ReadEnvironmentValue(value, COUNTOF(value), "U3_IS_UPGRADE");
    if (got >= COUNTOF(value))
        value[0] = '\0';
    InstallState.UpgradeMode = EqualsIgnoringCase(value, "true") || EqualsIgnoringCase(value, "1");
}

BOOL ReadAppDataPath()
{
    // A value longer than a path buffer keeps its first 259 bytes, cut at a whole character.
    ReadEnvironmentValue(InstallState.AppDataPath, COUNTOF(InstallState.AppDataPath), "U3_APP_DATA_PATH");
    return InstallState.AppDataPath[0] != '\0';
}

BOOL ComposeTargetIniPath()
{
    CopyBounded(InstallState.TargetIniPath, COUNTOF(InstallState.TargetIniPath), InstallState.AppDataPath);
    AppendBounded(InstallState.TargetIniPath, COUNTOF(InstallState.TargetIniPath), "\\");
    AppendBounded(InstallState.TargetIniPath, COUNTOF(InstallState.TargetIniPath), MAIN_SETTINGS_FILE);
    // Refused rather than used cut.
    DWORD length = ReadEnvironmentValue(NULL, 0, "U3_APP_DATA_PATH");
    return length <= PATH_MAX_CHARS &&
           lstrlenA(InstallState.AppDataPath) + 1 + lstrlenA(MAIN_SETTINGS_FILE) <= PATH_MAX_CHARS;
}

void LocateDesktopDir()
{
    FindDesktopDir(InstallState.DesktopDir, COUNTOF(InstallState.DesktopDir));
    StripBackslash(InstallState.DesktopDir);
    if (InstallState.DesktopDir[0])
        SetEnvironmentVariableA("VELTRANO_PATH", InstallState.DesktopDir);
}

int RunStickInstall(HINSTANCE instance)
{
    InstallState.Instance = instance;
    CoInitialize(NULL);

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);

    PrepareWizard();
    ReadUpgradeMode();

    // Checked before the upgrade test: an upgrade without the variable is refused too.
    if (!ReadAppDataPath()) {
        MessageBoxA(NULL, "This program can only be run during an U3 USB stick install!", "Install Error",
                    MB_ICONERROR);
        return EXIT_REFUSED;
    }
    BOOL targetFits = ComposeTargetIniPath();
    LocateDesktopDir();
    if (InstallState.UpgradeMode)
        return EXIT_NORMAL;
    if (!targetFits) {
        MessageBoxA(NULL, "The application data path of the U3 device is too long!", "Install Error", MB_ICONERROR);
        return EXIT_REFUSED;
    }

    FindDesktopSettings(InstallState.SourceIniPath, InstallState.SourceFtpIniPath);
    InstallState.CopySettings = 0;
    RunWizard();

    CoUninitialize();
    if (InstallState.TitleFont)
        DeleteObject(InstallState.TitleFont);
    return EXIT_NORMAL;
}
