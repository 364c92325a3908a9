// What every installation run must leave true of the portable settings file it wrote.
#pragma once

#include <string>
#include <vector>

// The file a registration's value names on the device (appData read for the variable), after a
// packer's flags; "" when the value does not start with "%U3_APP_DATA_PATH%\" or holds '/', ':'
// or a "." or ".." step.
std::string RegisteredDeviceFile(const std::string &appData, const std::string &value);

// The plugin registrations of appData\vtmain.ini that do not name a file on the device: values
// that name no file (RegisteredDeviceFile gives ""), or whose file is missing or a directory.
// One "section key=value" line each; empty when every registration names a device file.
std::vector<std::string> RegistrationsNamingNoDeviceFile(const std::string &appData);

// A row of the plugin list as it stood after a run.
struct ListedPluginRow {
    std::string Label, Size, Path, CopiedTo;
    bool Checked;
};

// The plugin registrations of appData\vtmain.ini whose device file does not hold the bytes of its
// own source plugin file: the desktop value of the registration's key in sourceIni (expanded in
// this process's environment). A numbered kind's registrations are matched, in the order of their
// keys, with the checked rows of its kind in list order, each with the next row whose "Copied to"
// and plugin file name give the registered file; without rows (a run cancelled before they were
// read) a numbered kind is not checked. One "section key=value: why" line each; empty
// when each registration names a copy of its own source.
// desktopDir, when given, stands for VELTRANO_PATH in the values (for a run in another process).
std::vector<std::string> RegistrationsNotCopiedFromTheirSource(const std::string &appData,
                                                                const std::string &sourceIni,
                                                                const std::vector<ListedPluginRow> &rows,
                                                                const std::string &desktopDir = std::string());
