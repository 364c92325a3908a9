// The sample desktop installation of tests/fixtures: its files, its registry values, and what
// the typical run must leave on the device.
#pragma once

#include <string>
#include <vector>

// Windows path of tests/fixtures in the source tree.
std::string FixturesDirectory();

// Lays the sample installation out at `desktop` (which must not exist yet) and writes its
// registry values, {desktop} replaced by that directory. False, with the reason, on any error.
bool InstallSampleDesktop(const std::string &desktop, std::string *failure);

// One registry value of the sample: hive ("HKLM" or "HKCU"), name, text with {desktop}.
struct SampleRegistryValue {
    std::string Hive;
    std::string Name;
    std::string Text;
};
std::vector<SampleRegistryValue> SampleRegistryValues();

// An entry expected on the device: a directory (Source empty, path ending in '\'), a file equal
// to a desktop file (Source relative to the desktop), or the portable file (Source "portable").
struct DeviceEntry {
    std::string Path;
    std::string Source;
};
std::vector<DeviceEntry> ReadDeviceListing(const std::string &path);
