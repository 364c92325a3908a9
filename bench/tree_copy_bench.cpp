// CopyTree against Wine's own xcopy /E /I on the same tree of 5,000 small files in 500 nested
// directories, under the same Wine. Prints files per second for both and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/buffers.h"
#include "engine/tree_copy.h"
#include "bench_clock.h"
#include "pages/progress_report.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/trees.h"

namespace {

const int TOP_DIRECTORIES = 10;
const int MIDDLE_PER_TOP = 7;
const int LEAVES_PER_MIDDLE = 6;  // 10 + 70 + 420 = 500 directories
const int FILES_PER_DIRECTORY = 10;
const int RUNS = 5;

bool WriteSmallFile(const std::string &path, int index)
{
    std::string content(2048 + (index * 397) % 2049, static_cast<char>('a' + index % 26));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == content.size();
}

bool FillDirectory(const std::string &directory, int *fileIndex)
{
    if (!CreateDirectoryA(directory.c_str(), NULL))
        return false;
    for (int f = 0; f < FILES_PER_DIRECTORY; ++f, ++*fileIndex) {
        if (!WriteSmallFile(Join(directory, "file" + std::to_string(f) + ".dat"), *fileIndex))
            return false;
    }
    return true;
}

// The tree is written once; a marker file says it is complete.
bool GenerateTree(const std::string &source, int *files)
{
    std::string marker = source + ".complete";
    int fileIndex = 0;
    if (!PathExists(marker)) {
        if (!CreateDirectoryA(source.c_str(), NULL))
            return false;
        for (int t = 0; t < TOP_DIRECTORIES; ++t) {
            std::string top = Join(source, "top" + std::to_string(t));
            if (!FillDirectory(top, &fileIndex))
                return false;
            for (int m = 0; m < MIDDLE_PER_TOP; ++m) {
                std::string middle = Join(top, "middle" + std::to_string(m));
                if (!FillDirectory(middle, &fileIndex))
                    return false;
                for (int l = 0; l < LEAVES_PER_MIDDLE; ++l) {
                    if (!FillDirectory(Join(middle, "leaf" + std::to_string(l)), &fileIndex))
                        return false;
                }
            }
        }
        CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    *files = TOP_DIRECTORIES * (1 + MIDDLE_PER_TOP * (1 + LEAVES_PER_MIDDLE)) * FILES_PER_DIRECTORY;
    return true;
}

// CopyTree's target must exist; it creates everything below it.
double TimeCopyTree(const std::string &source, const std::string &target)
{
    CreateDirectoryA(target.c_str(), NULL);
    double start = Seconds();
    // The progress page's own report, so that its message pump before each entry is measured
    // too; a tree copy shows nothing else on the page.
    int result = CopyTree(source.c_str(), target.c_str(), ProgressPageReport(NULL));
    double took = Seconds() - start;
    if (result != 1)
        std::printf("  CopyTree returned %d\n", result);
    return took;
}

// xcopy's listing goes to NUL, as a console nobody reads would cost it nothing either.
double TimeXcopy(const std::string &source, const std::string &target)
{
    char systemDirectory[MAX_PATH];
    GetSystemDirectoryA(systemDirectory, MAX_PATH);
    std::string line = "\"" + std::string(systemDirectory) + "\\xcopy.exe\" \"" + source + "\" \"" + target + "\" /E /I";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, NULL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION started = {};
    double start = Seconds();
    if (!CreateProcessA(NULL, commandLine.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup, &started)) {
        std::printf("  could not start xcopy (%lu)\n", GetLastError());
        CloseHandle(nul);
        return 0;
    }
    WaitForSingleObject(started.hProcess, INFINITE);
    double took = Seconds() - start;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    CloseHandle(nul);
    return took;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    std::string root = TempDirectory() + "tree_copy_bench";
    CreateDirectoryA(root.c_str(), NULL);
    std::string source = Join(root, "source");
    int files = 0;
    if (!GenerateTree(source, &files)) {
        std::printf("tree_copy_bench: could not write the source tree under %s\n", root.c_str());
        return 1;
    }

    std::vector<double> copyTreeTimes, xcopyTimes;
    for (int run = 0; run < RUNS; ++run) {
        std::string copyTreeTarget = "copytree" + std::to_string(run);
        std::string xcopyTarget = "xcopy" + std::to_string(run);
        RemoveTree(Join(root, copyTreeTarget));
        RemoveTree(Join(root, xcopyTarget));
        if (PathExists(Join(root, copyTreeTarget)) || PathExists(Join(root, xcopyTarget))) {
            std::printf("tree_copy_bench: could not clear the targets of an earlier run\n");
            return 1;
        }
        // Taking turns at going first keeps the page cache and the server equally warm for both.
        if (run % 2 == 0) {
            copyTreeTimes.push_back(TimeCopyTree(source, Join(root, copyTreeTarget)));
            xcopyTimes.push_back(TimeXcopy(source, Join(root, xcopyTarget)));
        } else {
            xcopyTimes.push_back(TimeXcopy(source, Join(root, xcopyTarget)));
            copyTreeTimes.push_back(TimeCopyTree(source, Join(root, copyTreeTarget)));
        }
        int copied = static_cast<int>(ListTreeFiles(Join(root, copyTreeTarget)).size());
        int xcopied = static_cast<int>(ListTreeFiles(Join(root, xcopyTarget)).size());
        if (copied != files || xcopied != files)
            std::printf("  run %d: CopyTree copied %d, xcopy %d of %d files\n", run + 1, copied, xcopied, files);
    }

    double copyTreeRate = files / Median(copyTreeTimes);
    double xcopyRate = files / Median(xcopyTimes);
    std::printf("tree copy, %d files of 2-4 KB in 500 directories (median of %d runs):\n", files, RUNS);
    std::printf("  CopyTree     %7.3f s  %7.0f files/s\n", Median(copyTreeTimes), copyTreeRate);
    std::printf("  xcopy /E /I  %7.3f s  %7.0f files/s\n", Median(xcopyTimes), xcopyRate);
    std::printf("  ratio CopyTree/xcopy files/s: %.2f (goal: at least 1)\n", copyTreeRate / xcopyRate);
    return 0;
}
