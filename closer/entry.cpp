#include <windows.h>

#include "window_visit.h"

namespace {

// Time the windows get to go away before each look.
const DWORD PROBE_WAIT_MS = 500;
const int PROBE_PASSES_MAX = 5;

void RunPass(LPARAM passMode)
{
    EnumWindows(CloserEnumProc, passMode);
}

// 1 when a window was still confirmed after the last probe pass.
int WindowsOutlastProbes()
{
    for (int probe = 0; probe < PROBE_PASSES_MAX; probe++) {
        Sleep(PROBE_WAIT_MS);
        InstanceFound = 0;
        RunPass(PASS_PROBE);
        if (!InstanceFound)
            return 0;
    }
    return 1;
}

}  // namespace

// Closes every running Veltrano main window; the end is the same whatever remains open.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RunPass(PASS_CLOSE);
    if (InstanceFound && WindowsOutlastProbes())
        RunPass(PASS_FINAL);
    return 0;
}
