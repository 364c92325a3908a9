#include "support/desktop_fixture.h"

#include "base/environment.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/text.h"

namespace {

const char VELTRANO_KEY[] = "SOFTWARE\\Ostrand\\Veltrano";
const char OSTRAND_KEY[] = "SOFTWARE\\Ostrand";

std::string ScratchPath()
{
    return TempDirectory() + "veltrano-desktop-fixture";
}

std::string ParentOf(const std::string &path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

RegistryValueSpec TextValue(const std::string &name, const std::string &text)
{
    return {name, REG_SZ, text + std::string(1, '\0')};
}

RegistryValueSpec DwordValue(const std::string &name, DWORD value)
{
    return {name, REG_DWORD, std::string(reinterpret_cast<const char *>(&value), sizeof(value))};
}

RegistryValueSpec RawValue(const std::string &name, DWORD type, const std::string &bytes)
{
    return {name, type, bytes};
}

std::string FixturePath(const std::string &text)
{
    return Replaced(Replaced(text, "{windows}", WindowsDirectory()), "{scratch}", ScratchPath());
}

void RemoveVeltranoKey(HKEY hive)
{
    RegDeleteKeyA(hive, VELTRANO_KEY);
    // Fails, as it should, while the key still holds anything else.
    RegDeleteKeyA(hive, OSTRAND_KEY);
}

void RemoveVeltranoKeys()
{
    RemoveVeltranoKey(HKEY_LOCAL_MACHINE);
    RemoveVeltranoKey(HKEY_CURRENT_USER);
}

bool WriteVeltranoValues(HKEY hive, const std::vector<RegistryValueSpec> &values, std::string *failure)
{
    HKEY key;
    if (RegCreateKeyExA(hive, VELTRANO_KEY, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS) {
        *failure += "cannot create the Veltrano key; ";
        return false;
    }
    bool written = true;
    for (const RegistryValueSpec &value : values) {
        if (RegSetValueExA(key, value.Name.c_str(), 0, value.Type, reinterpret_cast<const BYTE *>(value.Data.data()),
                           static_cast<DWORD>(value.Data.size())) != ERROR_SUCCESS) {
            *failure += "cannot write value " + value.Name + "; ";
            written = false;
        }
    }
    RegCloseKey(key);
    return written;
}

DesktopFixture::DesktopFixture(const DiscoveryDescription &description)
{
    RemoveVeltranoKeys();
    CreateDirectories(ScratchPath());

    WriteHive(HKEY_LOCAL_MACHINE, description.Machine);
    WriteHive(HKEY_CURRENT_USER, description.User);
    for (const SettingsFileSpec &file : description.Files)
        WriteFile(file);

    for (const EnvironmentSpec &variable : description.Environment) {
        SetLastError(ERROR_SUCCESS);
        BOOL wasSet = GetEnvironmentVariableA(variable.Name.c_str(), NULL, 0) > 0 ||
                      GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        // The value is read as the installer reads it, so that a double-byte one is restored whole.
        char value[32768];
        DWORD got = ReadEnvironmentValue(value, sizeof(value), variable.Name.c_str());
        SavedVariables.push_back({variable.Name, wasSet, got > 0 && got < sizeof(value) ? value : ""});
        std::string text = variable.Value ? FixturePath(variable.Value) : std::string();
        SetEnvironmentVariableA(variable.Name.c_str(), variable.Value ? text.c_str() : NULL);
    }

    if (!description.CurrentDirectory.empty()) {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        SavedCurrentDirectory = current;
        if (!SetCurrentDirectoryA(FixturePath(description.CurrentDirectory).c_str()))
            Failure += "cannot enter " + description.CurrentDirectory + "; ";
    }
}

DesktopFixture::~DesktopFixture()
{
    if (!SavedCurrentDirectory.empty())
        SetCurrentDirectoryA(SavedCurrentDirectory.c_str());
    for (auto variable = SavedVariables.rbegin(); variable != SavedVariables.rend(); ++variable)
        SetEnvironmentVariableA(variable->Name.c_str(), variable->WasSet ? variable->Value.c_str() : NULL);
    for (const std::string &file : WrittenFiles)
        DeleteFileA(file.c_str());
    for (auto directory = CreatedDirectories.rbegin(); directory != CreatedDirectories.rend(); ++directory)
        RemoveDirectoryA(directory->c_str());
    RemoveVeltranoKeys();
}

void DesktopFixture::WriteHive(HKEY hive, const std::vector<RegistryValueSpec> &values)
{
    if (values.empty())
        return;
    std::vector<RegistryValueSpec> placed;
    for (const RegistryValueSpec &value : values) {
        bool text = value.Type == REG_SZ || value.Type == REG_EXPAND_SZ;
        placed.push_back({value.Name, value.Type, text ? FixturePath(value.Data) : value.Data});
    }
    WriteVeltranoValues(hive, placed, &Failure);
}

void DesktopFixture::WriteFile(const SettingsFileSpec &file)
{
    std::string path = FixturePath(file.Path);
    CreateDirectories(ParentOf(path));
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) {
        Failure += "cannot create " + path + "; ";
        return;
    }
    WrittenFiles.push_back(path);
    DWORD written = 0;
    if (!::WriteFile(handle, file.Text.data(), static_cast<DWORD>(file.Text.size()), &written, NULL) ||
        written != file.Text.size())
        Failure += "cannot write " + path + "; ";
    CloseHandle(handle);
}

// Creates the directory and its missing parents, remembering which ones it made.
void DesktopFixture::CreateDirectories(const std::string &directory)
{
    if (directory.empty() || GetFileAttributesA(directory.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    CreateDirectories(ParentOf(directory));
    if (CreateDirectoryA(directory.c_str(), NULL))
        CreatedDirectories.push_back(directory);
    else
        Failure += "cannot create directory " + directory + "; ";
}
