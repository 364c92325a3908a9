// DirectorySize on a tree of 20,000 files against Wine's own "cmd /c dir /s /a" on the same tree,
// with native "du -sb" beside them as the distance to the floor.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_clock.h"
#include "files/directory_size.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "support/process.h"
#include "support/unix_side.h"

namespace {

const int DIRECTORIES = 500;
const int FILES_PER_DIRECTORY = 40;
const int ROUNDS = 3;

double TimeDirectoryCommand(const std::string &root)
{
    std::string line = "cmd /c dir /s /a \"" + root + "\" > NUL";
    double start = Seconds();
    PROCESS_INFORMATION started;
    if (!StartProgram(line, NULL, &started))
        return -1;
    DWORD code = 0;
    WaitForExit(started.hProcess, 600000, &code);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return Seconds() - start;
}

// Measured on the Linux side itself, so only du's own run counts.
double TimeNativeDu(const std::string &root)
{
    std::string timing = root + ".du_ns";
    std::string unixRoot = UnixPathOf(root.c_str());
    std::string unixTiming = UnixPathOf(timing.c_str());
    RunUnixCommand("s=$(date +%s%N); du -sb '" + unixRoot + "' >/dev/null; e=$(date +%s%N); echo $((e-s)) > '" +
                   unixTiming + "'");
    HANDLE file = CreateFileA(timing.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    char text[32] = "";
    DWORD got = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ReadFile(file, text, sizeof(text) - 1, &got, NULL);
        CloseHandle(file);
    }
    DeleteFileA(timing.c_str());
    return got ? atof(text) / 1e9 : -1;
}

}  // namespace

int main()
{
    std::string root = FreshTempDirectory("directory_size_bench");
    unsigned long long expected = 0;
    for (int dir = 0; dir < DIRECTORIES; ++dir) {
        std::string path = root + "\\level" + std::to_string(dir % 10) + "\\d" + std::to_string(dir);
        for (int file = 0; file < FILES_PER_DIRECTORY; ++file) {
            unsigned long long size = 2048 + (dir * 7 + file * 13) % 2048;
            WriteSizedFile(path + "\\f" + std::to_string(file) + ".dat", size);
            expected += size;
        }
    }
    double ours = 1e9, theirs = 1e9, native = 1e9;
    unsigned long long measured = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        double start = Seconds();
        measured = DirectorySize(root.c_str());
        double took = Seconds() - start;
        ours = took < ours ? took : ours;
        double dir = TimeDirectoryCommand(root);
        theirs = dir < theirs ? dir : theirs;
        double du = TimeNativeDu(root);
        native = du < native ? du : native;
    }
    printf("size of %d files in %d directories (best of %d):\n", DIRECTORIES * FILES_PER_DIRECTORY, DIRECTORIES,
           ROUNDS);
    printf("  DirectorySize          %8.1f ms  (%s)\n", ours * 1000, measured == expected ? "right sum" : "WRONG SUM");
    printf("  cmd /c dir /s /a       %8.1f ms\n", theirs * 1000);
    printf("  native du -sb          %8.1f ms\n", native * 1000);
    printf("  ratio ours / dir       %8.2f  (goal: at most 0.5)\n", ours / theirs);
    printf("  ratio ours / du        %8.2f\n", ours / native);
    RemoveTree(root);
    return measured == expected ? 0 : 1;
}
