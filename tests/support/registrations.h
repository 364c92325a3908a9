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
