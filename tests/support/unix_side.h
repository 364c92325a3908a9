// What a test must do from the Linux side of Wine: links, sparse files, drive letters.
#pragma once

#include <string>

// The Linux path of a Windows path ("" when Wine cannot map it).
std::string UnixPathOf(const char *windowsPath);

// Runs a shell command on the Linux side and waits for it (bounded); TRUE on exit code 0.
bool RunUnixCommand(const std::string &command);
