// Time from process start to the first wizard page shown, against the time Wine needs to start
// a program and show an empty message box.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "support/process.h"
#include "support/windows.h"

namespace {

const int ROUNDS = 7;

// Seconds until the program shows a window with this caption; the program is ended after.
double TimeToWindow(const std::string &program, const std::vector<char> &environment, const char *caption)
{
    double start = Seconds();
    PROCESS_INFORMATION started;
    if (!StartProgram("\"" + program + "\"", &environment, &started))
        return -1;
    HWND window = WaitForProcessWindow(started.dwProcessId, caption, 30000);
    double took = Seconds() - start;
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return window ? took : -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    std::string device = FreshTempDirectory("startup_bench_device");
    std::vector<char> environment = EnvironmentBlock({{"U3_APP_DATA_PATH", device.c_str()}, {"U3_IS_UPGRADE", "0"}});
    std::vector<double> installer, box;
    for (int round = 0; round < ROUNDS; ++round) {
        installer.push_back(TimeToWindow(ProgramBesideTest("stickinstall.exe"), environment, "Veltrano USB installer"));
        box.push_back(TimeToWindow(ProgramBesideTest("empty_message_box.exe"), environment, "empty message box"));
    }
    double ours = Median(installer), floor = Median(box);
    printf("process start to first window (median of %d, taking turns):\n", ROUNDS);
    printf("  stickinstall, welcome page      %8.1f ms\n", ours * 1000);
    printf("  empty message box               %8.1f ms\n", floor * 1000);
    printf("  ratio installer / message box   %8.2f\n", ours / floor);
    RemoveTree(device);
    return ours > 0 && floor > 0 ? 0 : 1;
}
