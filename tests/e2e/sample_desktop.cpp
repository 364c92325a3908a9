#include "sample_desktop.h"

#include <windows.h>

#include "support/desktop_fixture.h"
#include "support/files.h"
#include "support/text.h"

#ifndef VELTRANO_FIXTURES_UNIX_DIR
#error "the build names the fixtures directory"
#endif

namespace {

typedef WCHAR *(CDECL *DosFileNameProc)(const char *);

// The lines of a fixture text that are neither blank nor a comment ('#').
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    for (const std::string &line : TextLines(text)) {
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    }
    return lines;
}

// Copies a directory tree with the ANSI functions, as the names of the double-byte cases need.
bool CopyDirectoryTree(const std::string &source, const std::string &target)
{
    if (!CreateDirectoryA(target.c_str(), NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((source + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string from = source + "\\" + name, to = target + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyDirectoryTree(from, to) && ok;
        else
            ok = CopyFileA(from.c_str(), to.c_str(), TRUE) && ok;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

}  // namespace

std::string FixturesDirectory()
{
    DosFileNameProc toDos = reinterpret_cast<DosFileNameProc>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos)
        return "";
    WCHAR *wide = toDos(VELTRANO_FIXTURES_UNIX_DIR);
    if (!wide)
        return "";
    char path[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, NULL, NULL);
    HeapFree(GetProcessHeap(), 0, wide);
    return path;
}

std::vector<SampleRegistryValue> SampleRegistryValues()
{
    std::vector<SampleRegistryValue> values;
    for (const std::string &line : Lines(ReadWholeFile(FixturesDirectory() + "\\sample-registry.txt"))) {
        size_t first = line.find(' ');
        size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
        if (second == std::string::npos)
            continue;
        values.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)});
    }
    return values;
}

bool InstallSampleDesktop(const std::string &desktop, std::string *failure)
{
    std::string source = FixturesDirectory() + "\\sample-desktop";
    if (GetFileAttributesA(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
        *failure = "no sample desktop at " + source;
        return false;
    }
    if (!CopyDirectoryTree(source, desktop)) {
        *failure = "cannot copy the sample desktop to " + desktop;
        return false;
    }
    RemoveVeltranoKeys();
    std::vector<SampleRegistryValue> values = SampleRegistryValues();
    if (values.empty()) {
        *failure = "no registry values in sample-registry.txt";
        return false;
    }
    for (const SampleRegistryValue &value : values) {
        HKEY hive = value.Hive == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        std::string text = Replaced(value.Text, "{desktop}", desktop);
        if (!WriteVeltranoValues(hive, {TextValue(value.Name, text)}, failure)) {
            *failure += "under " + value.Hive;
            return false;
        }
    }
    return true;
}

std::vector<DeviceEntry> ReadDeviceListing(const std::string &path)
{
    std::vector<DeviceEntry> entries;
    for (const std::string &line : Lines(ReadWholeFile(path))) {
        size_t equals = line.find(" = ");
        if (equals == std::string::npos)
            entries.push_back({line, ""});
        else
            entries.push_back({line.substr(0, equals), line.substr(equals + 3)});
    }
    return entries;
}
