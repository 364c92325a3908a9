// stickclose with one well-behaved main window, against the fixed waits it must make for it:
// five dialog attempts of 50 ms in the close pass and the 500 ms before the probe pass. Then
// stickclose with no window at all, side by side with a program that ends at once (the fake peer
// refusing its options): it has nothing to wait for.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "support/process.h"

namespace {

const int ROUNDS = 5;
const double FIXED_WAITS_S = 5 * 0.050 + 0.500;

bool WaitForReady(const std::string &log)
{
    for (int waited = 0; waited < 20000; waited += 10) {
        HANDLE file = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                                  NULL);
        if (file != INVALID_HANDLE_VALUE) {
            char text[256] = "";
            DWORD got = 0;
            ReadFile(file, text, sizeof(text) - 1, &got, NULL);
            CloseHandle(file);
            if (strstr(text, "ready"))
                return true;
        }
        Sleep(10);
    }
    return false;
}

// One run of the closer against one fresh peer; -1 when the peer never came up.
double TimeOneClose(const std::string &directory, int round)
{
    std::string log = directory + "\\peer" + std::to_string(round) + ".log";
    PROCESS_INFORMATION peer, closer;
    if (!StartProgram("\"" + ProgramBesideTest("fake_peer.exe") + "\" \"" + log + "\"", NULL, &peer))
        return -1;
    double took = -1;
    if (WaitForReady(log)) {
        double start = Seconds();
        if (StartProgram("\"" + ProgramBesideTest("stickclose.exe") + "\"", NULL, &closer)) {
            DWORD code = 0;
            WaitForExit(closer.hProcess, 30000, &code);
            took = Seconds() - start;
            CloseHandle(closer.hProcess);
            CloseHandle(closer.hThread);
        }
    }
    TerminateProcess(peer.hProcess, 0);
    WaitForSingleObject(peer.hProcess, 5000);
    CloseHandle(peer.hProcess);
    CloseHandle(peer.hThread);
    return took;
}

// One start of a program that should end at once, to its end.
double TimeOneRun(const std::string &commandLine)
{
    PROCESS_INFORMATION process;
    double start = Seconds();
    if (!StartProgram(commandLine, NULL, &process))
        return -1;
    DWORD code = 0;
    WaitForExit(process.hProcess, 30000, &code);
    double took = Seconds() - start;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return took;
}

double Median(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

}  // namespace

int main()
{
    std::string directory = FreshTempDirectory("closer_bench");
    std::vector<double> runs;
    for (int round = 0; round < ROUNDS; ++round)
        runs.push_back(TimeOneClose(directory, round));
    double median = Median(runs);
    printf("stickclose with one well-behaved window (median of %d):\n", ROUNDS);
    printf("  whole run                       %8.1f ms\n", median * 1000);
    printf("  its fixed waits                 %8.1f ms\n", FIXED_WAITS_S * 1000);
    printf("  ratio run / fixed waits         %8.2f\n", median / FIXED_WAITS_S);
    RemoveTree(directory);

    // Taking turns, so that whatever load the machine carries weighs on both alike.
    std::vector<double> windowless, yardstick;
    for (int round = 0; round < ROUNDS; ++round) {
        windowless.push_back(TimeOneRun("\"" + ProgramBesideTest("stickclose.exe") + "\""));
        yardstick.push_back(TimeOneRun("\"" + ProgramBesideTest("fake_peer.exe") + "\""));
    }
    printf("stickclose with no window (median of %d):\n", ROUNDS);
    printf("  whole run                       %8.1f ms\n", Median(windowless) * 1000);
    printf("  a program ending at once        %8.1f ms\n", Median(yardstick) * 1000);
    printf("  ratio                           %8.2f\n", Median(windowless) / Median(yardstick));
    return *std::min_element(runs.begin(), runs.end()) > 0 ? 0 : 1;
}
