// What every installation run must leave true of the portable settings file it wrote.
#pragma once

#include <string>
#include <vector>

// The plugin registrations of appData\vtmain.ini that do not name a file on the device: values
// that do not start with "%U3_APP_DATA_PATH%\" (after a packer's flags), that hold '/', ':' or a
// "." or ".." step, or whose file (appData read for the variable) is missing or a directory.
// One "section key=value" line each; empty when every registration names a device file.
std::vector<std::string> RegistrationsNamingNoDeviceFile(const std::string &appData);
