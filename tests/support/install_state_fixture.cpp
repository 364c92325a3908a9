#include "support/install_state_fixture.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "support/temp_directory.h"

void PointInstallStateAt(const std::string &desktopDir, const std::string &deviceDir)
{
    CopyBounded(InstallState.DesktopDir, COUNTOF(InstallState.DesktopDir), desktopDir.c_str());
    CopyBounded(InstallState.SourceIniPath, COUNTOF(InstallState.SourceIniPath), (desktopDir + "\\vtmain.ini").c_str());
    CopyBounded(InstallState.SourceFtpIniPath, COUNTOF(InstallState.SourceFtpIniPath),
                (desktopDir + "\\vpx_ftp.ini").c_str());
    if (deviceDir.empty())
        return;
    CopyBounded(InstallState.AppDataPath, COUNTOF(InstallState.AppDataPath), deviceDir.c_str());
    CopyBounded(InstallState.TargetIniPath, COUNTOF(InstallState.TargetIniPath), (deviceDir + "\\vtmain.ini").c_str());
}

void ExportInstallVariables(const std::string &desktopDir, const std::string &deviceDir)
{
    SetEnvironmentVariableA("VELTRANO_PATH", desktopDir.empty() ? NULL : desktopDir.c_str());
    SetEnvironmentVariableA("U3_APP_DATA_PATH", deviceDir.empty() ? NULL : deviceDir.c_str());
}

std::string PointFreshInstallStateAtNewDesktop(const char *name)
{
    InstallState = InstallStateRecord();
    InstallState.Instance = GetModuleHandleA(NULL);
    std::string desktopDir = FreshTempDirectory(name);
    PointInstallStateAt(desktopDir, "");
    return desktopDir;
}
