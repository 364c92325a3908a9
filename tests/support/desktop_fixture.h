// Writes a desktop installation from a short description (registry values of both hives,
// settings files, environment variables) and removes all of it again when it goes away, also
// when a case fails half-way.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A value under SOFTWARE\Ostrand\Veltrano, stored with exactly these bytes.
struct RegistryValueSpec {
    std::string Name;
    DWORD Type;
    std::string Data;
};

// A REG_SZ value with its terminator.
RegistryValueSpec TextValue(const std::string &name, const std::string &text);
RegistryValueSpec DwordValue(const std::string &name, DWORD value);
// Any type, stored with exactly the given bytes (no terminator added).
RegistryValueSpec RawValue(const std::string &name, DWORD type, const std::string &bytes);

// A settings file written byte for byte (no byte-order mark). Parent directories are created.
struct SettingsFileSpec {
    std::string Path;
    std::string Text;
};

struct EnvironmentSpec {
    std::string Name;
    const char *Value;  // NULL removes the variable
};

// What start-up's discovery of the desktop installation reads: registry values, settings files
// and the environment. (The desktop directory's own content is engine_fixture::DesktopDescription.)
struct DiscoveryDescription {
    std::vector<RegistryValueSpec> Machine;  // HKEY_LOCAL_MACHINE; none: no key at all
    std::vector<RegistryValueSpec> User;     // HKEY_CURRENT_USER; none: no key at all
    std::vector<SettingsFileSpec> Files;
    std::vector<EnvironmentSpec> Environment;
    std::string CurrentDirectory;  // empty: left as it is
};

// Paths in a description, and expected texts, may use two place holders: "{windows}" (the
// Windows directory, no trailing backslash) and "{scratch}" (a private directory the fixture
// creates and removes).
std::string FixturePath(const std::string &text);

class DesktopFixture {
public:
    // Starts from a clean slate: any Veltrano key left in either hive is removed first.
    explicit DesktopFixture(const DiscoveryDescription &description);
    ~DesktopFixture();

    DesktopFixture(const DesktopFixture &) = delete;
    DesktopFixture &operator=(const DesktopFixture &) = delete;

    // FALSE when some part of the description could not be written.
    BOOL Ready() const { return Failure.empty(); }
    const std::string &FailureText() const { return Failure; }

private:
    struct SavedVariable {
        std::string Name;
        BOOL WasSet;
        std::string Value;
    };

    void WriteHive(HKEY hive, const std::vector<RegistryValueSpec> &values);
    void WriteFile(const SettingsFileSpec &file);
    void CreateDirectories(const std::string &directory);

    std::vector<std::string> WrittenFiles;
    std::vector<std::string> CreatedDirectories;
    std::vector<SavedVariable> SavedVariables;
    std::string SavedCurrentDirectory;
    std::string Failure;
};

// Removes SOFTWARE\Ostrand\Veltrano (and an Ostrand key it leaves empty) from a hive.
void RemoveVeltranoKey(HKEY hive);

// RemoveVeltranoKey of both hives.
void RemoveVeltranoKeys();

// Stores values under SOFTWARE\Ostrand\Veltrano of a hive, creating the key; FALSE, with what
// failed added to *failure, when the key or a value could not be written.
bool WriteVeltranoValues(HKEY hive, const std::vector<RegistryValueSpec> &values, std::string *failure);
