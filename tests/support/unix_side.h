// What a test must do from the Linux side of Wine: links, sparse files, drive letters.
#pragma once

#include <string>

// The Linux path of a Windows path ("" when Wine cannot map it).
std::string UnixPathOf(const char *windowsPath);

// Runs a shell command on the Linux side and waits for it (bounded); TRUE on exit code 0.
bool RunUnixCommand(const std::string &command);

// Creates a symbolic link linkName in the directory, pointing to target (taken as written,
// relative to the link), with the system's own ln; TRUE when ln succeeded.
bool MakeUnixSymlink(const std::string &directory, const std::string &linkName, const std::string &target);
