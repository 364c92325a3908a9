#include "engine/copy_failure.h"

#include "base/install_state.h"

void ReportCopyFailure(const char *targetPath, DWORD error, const InstallReport &report)
{
    if (report.CopyFailed(report.Context, targetPath, error))
        InstallState.AbortRequested = 1;
}
