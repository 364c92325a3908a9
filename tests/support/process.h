// Starting the programs under test as real processes, with an environment of the test's choosing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/hang_guard.h"

struct EnvironmentChange {
    const char *Name;
    const char *Value;  // NULL removes the variable
};

// The current environment with the changes applied, as a CreateProcess block.
std::vector<char> EnvironmentBlock(const std::vector<EnvironmentChange> &changes);

// Full path of a program built beside the test executable.
std::string ProgramBesideTest(const char *fileName);

// Starts a program; the caller closes both handles of the result.
BOOL StartProgram(const std::string &commandLine, const std::vector<char> *environment,
                  PROCESS_INFORMATION *started);

// Waits up to timeoutMs for the process to end; FALSE on time-out (the process is then killed).
BOOL WaitForExit(HANDLE process, DWORD timeoutMs, DWORD *exitCode);
