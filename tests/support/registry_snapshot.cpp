#include "support/registry_snapshot.h"

#include <windows.h>

namespace {

void AppendHive(HKEY hive, const char *name, std::string &out)
{
    HKEY key;
    if (RegOpenKeyExA(hive, "SOFTWARE\\Ostrand\\Veltrano", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        out += std::string(name) + ": no key\n";
        return;
    }
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        DWORD nameSize = sizeof(valueName), type = 0;
        BYTE data[4096];
        DWORD dataSize = sizeof(data);
        if (RegEnumValueA(key, index, valueName, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        out += std::string(name) + " " + valueName + " type " + std::to_string(type) + " = " +
               std::string(reinterpret_cast<char *>(data), dataSize) + "\n";
    }
    RegCloseKey(key);
}

}  // namespace

std::string SnapshotVeltranoRegistry()
{
    std::string out;
    AppendHive(HKEY_LOCAL_MACHINE, "HKLM", out);
    AppendHive(HKEY_CURRENT_USER, "HKCU", out);
    return out;
}
