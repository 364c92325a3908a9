#include "tree_fixture.h"

#include "support/files.h"
#include "support/hang_guard.h"

#include <windows.h>

#include <vector>

namespace {

const DWORD UNIX_COMMAND_WAIT_MS = PROCESS_HANG_GUARD_MS;

// Starts a program of the unix side (Wine runs those directly) in `directory`. Wine hands back
// no exit code for them: the caller waits for the program's effect instead.
bool StartUnixCommand(const char *program, const std::string &arguments, const std::string &directory)
{
    std::string line = std::string(program) + " " + arguments;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    std::string executable = std::string("Z:\\bin\\") + program;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(executable.c_str(), commandLine.data(), NULL, NULL, FALSE, 0, NULL, directory.c_str(),
                        &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

// Bounded wait for a path to appear (wanted true) or to go away (wanted false).
bool WaitForPath(const std::string &path, bool wanted)
{
    DWORD start = GetTickCount();
    while (PathExists(path) != wanted) {
        if (GetTickCount() - start > UNIX_COMMAND_WAIT_MS)
            return false;
        Sleep(5);
    }
    return true;
}

}  // namespace

std::string ReadTextFile(const std::string &path)
{
    std::string content;
    return ReadFileBytes(path, &content) ? content : "<missing>";
}

unsigned long Attributes(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str());
}

bool MakeUnixSymlink(const std::string &directory, const std::string &linkName, const std::string &target)
{
    if (!StartUnixCommand("ln", "-s " + target + " " + linkName, directory))
        return false;
    return WaitForPath(Join(directory, linkName), true);
}
