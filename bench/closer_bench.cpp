// stickclose with one well-behaved main window, against the fixed waits it must make for it:
// five dialog attempts of 50 ms in the close pass and the 500 ms before the probe pass.
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

}  // namespace

int main()
{
    std::string directory = FreshTempDirectory("closer_bench");
    std::vector<double> runs;
    for (int round = 0; round < ROUNDS; ++round)
        runs.push_back(TimeOneClose(directory, round));
    std::sort(runs.begin(), runs.end());
    double median = runs[runs.size() / 2];
    printf("stickclose with one well-behaved window (median of %d):\n", ROUNDS);
    printf("  whole run                       %8.1f ms\n", median * 1000);
    printf("  its fixed waits                 %8.1f ms\n", FIXED_WAITS_S * 1000);
    printf("  ratio run / fixed waits         %8.2f\n", median / FIXED_WAITS_S);
    RemoveTree(directory);
    return runs.front() > 0 ? 0 : 1;
}
