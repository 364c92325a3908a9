#include "support/unix_side.h"

#include <windows.h>

#include <string>

#include "support/files.h"
#include "support/process.h"
#include "support/temp_directory.h"

namespace {

typedef char *(CDECL *UnixFileNameProc)(LPCWSTR);

}  // namespace

std::string UnixPathOf(const char *windowsPath)
{
    UnixFileNameProc toUnix = reinterpret_cast<UnixFileNameProc>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return "";
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, wide, MAX_PATH);
    char *unixPath = toUnix(wide);
    if (!unixPath)
        return "";
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

bool RunUnixCommand(const std::string &command)
{
    // Wine starts a Linux program when given its Linux path, but its process handle neither
    // waits nor reports the exit code: the command writes its status into a file instead.
    std::string status = TempDirectory() + "unix_command_status.txt";
    DeleteFileA(status.c_str());
    std::string unixStatus = UnixPathOf(status.c_str());
    std::string line = "/bin/sh -c \"(" + command + "); echo $? > '" + unixStatus + ".part'; mv '" + unixStatus +
                       ".part' '" + unixStatus + "'\"";
    PROCESS_INFORMATION started;
    if (!StartProgram(line, NULL, &started))
        return false;
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    for (DWORD waited = 0; waited < PROCESS_HANG_GUARD_MS; waited += 10) {
        std::string text;
        ReadFileBytes(status, &text);
        if (!text.empty()) {
            DeleteFileA(status.c_str());
            return text[0] == '0' && (text.size() == 1 || text[1] == '\n');
        }
        Sleep(10);
    }
    return false;
}

bool MakeUnixSymlink(const std::string &directory, const std::string &linkName, const std::string &target)
{
    std::string unixDirectory = UnixPathOf(directory.c_str());
    return !unixDirectory.empty() &&
           RunUnixCommand("cd '" + unixDirectory + "' && ln -s '" + target + "' '" + linkName + "'");
}
