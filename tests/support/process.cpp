#include "support/process.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct CaseInsensitiveLess {
    bool operator()(const std::string &a, const std::string &b) const
    {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }
};

}  // namespace

std::vector<char> EnvironmentBlock(const std::vector<EnvironmentChange> &changes)
{
    std::map<std::string, std::string, CaseInsensitiveLess> variables;
    char *current = GetEnvironmentStringsA();
    for (const char *entry = current; *entry; entry += strlen(entry) + 1) {
        const char *equals = strchr(entry + 1, '=');  // names like "=C:" start with '='
        if (equals)
            variables[std::string(entry, equals)] = equals + 1;
    }
    FreeEnvironmentStringsA(current);
    for (const EnvironmentChange &change : changes) {
        if (change.Value)
            variables[change.Name] = change.Value;
        else
            variables.erase(change.Name);
    }
    std::vector<char> block;
    for (const auto &variable : variables) {
        std::string entry = variable.first + "=" + variable.second;
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

std::string ProgramBesideTest(const char *fileName)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string directory(path, length);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + fileName;
}

BOOL StartProgram(const std::string &commandLine, const std::vector<char> *environment,
                  PROCESS_INFORMATION *started)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0,
                          environment ? const_cast<char *>(environment->data()) : NULL, NULL, &startup,
                          started);
}

BOOL WaitForExit(HANDLE process, DWORD timeoutMs, DWORD *exitCode)
{
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, PROCESS_HANG_GUARD_MS);
        return FALSE;
    }
    GetExitCodeProcess(process, exitCode);
    return TRUE;
}
