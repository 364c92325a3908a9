#include "support/install_state_fixture.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"

void PointInstallStateAt(const std::string &desktopDir, const std::string &deviceDir)
{
    CopyBounded(InstallState.DesktopDir, desktopDir.c_str(), COUNTOF(InstallState.DesktopDir));
    CopyBounded(InstallState.SourceIniPath, (desktopDir + "\\vtmain.ini").c_str(), COUNTOF(InstallState.SourceIniPath));
    CopyBounded(InstallState.SourceFtpIniPath, (desktopDir + "\\vpx_ftp.ini").c_str(),
                COUNTOF(InstallState.SourceFtpIniPath));
    CopyBounded(InstallState.ButtonBarName, "DEFAULT.BAR", COUNTOF(InstallState.ButtonBarName));
    if (deviceDir.empty())
        return;
    CopyBounded(InstallState.AppDataPath, deviceDir.c_str(), COUNTOF(InstallState.AppDataPath));
    CopyBounded(InstallState.TargetIniPath, (deviceDir + "\\vtmain.ini").c_str(), COUNTOF(InstallState.TargetIniPath));
}

void ExportInstallVariables(const std::string &desktopDir, const std::string &deviceDir)
{
    SetEnvironmentVariableA("VELTRANO_PATH", desktopDir.empty() ? NULL : desktopDir.c_str());
    SetEnvironmentVariableA("U3_APP_DATA_PATH", deviceDir.empty() ? NULL : deviceDir.c_str());
}
