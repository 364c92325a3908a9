#include "support/engine_fixture.h"

#include "support/files.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace engine_fixture {

namespace {

std::string Trim(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

unsigned long long Fnv1a(const std::string &bytes)
{
    unsigned long long hash = 1469598103934665603ULL;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    return hash;
}

void ChecksumInto(const std::string &dir, std::vector<std::string> *lines)
{
    WalkTree(dir, [&](const WIN32_FIND_DATAW &found, const std::wstring &, const std::string &shown) {
        bool isDir = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        unsigned long long hash = 0;
        if (!isDir) {
            std::string content;
            hash = ReadFileBytes(dir + "\\" + shown, &content) ? Fnv1a(content) : 0;
        }
        char line[1024];
        snprintf(line, sizeof(line), "%s size=%lu attributes=%#lx written=%08lx%08lx hash=%016llx", shown.c_str(),
                 found.nFileSizeLow, found.dwFileAttributes, found.ftLastWriteTime.dwHighDateTime,
                 found.ftLastWriteTime.dwLowDateTime, hash);
        lines->push_back(line);
        return true;
    });
}

void RegistryValuesInto(HKEY hive, const char *hiveName, std::string *out)
{
    HKEY key;
    if (RegOpenKeyExA(hive, "SOFTWARE\\Ostrand\\Veltrano", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof(name);
        BYTE data[1024];
        DWORD dataLength = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, NULL, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        *out += std::string(hiveName) + "\\" + name + " type=" + std::to_string(type) + " value=" +
                std::string(reinterpret_cast<char *>(data), dataLength) + "\n";
    }
    RegCloseKey(key);
}

INT_PTR CALLBACK InertDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

std::string FreshTempDir(const char *tag)
{
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    for (;;) {
        char name[MAX_PATH + 64];
        snprintf(name, sizeof(name), "%s%s_%lu_%lu_%d", temp, tag, GetCurrentProcessId(), GetTickCount(), ++counter);
        if (CreateDirectoryA(name, NULL))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
}

void CreateDirectories(const std::string &path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), NULL);
    CreateDirectoryA(path.c_str(), NULL);
}

void WriteFileBytes(const std::string &path, const std::string &content, DWORD attributes)
{
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos)
        CreateDirectories(path.substr(0, slash));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, NULL);
    CloseHandle(file);
    if (attributes)
        SetFileAttributesA(path.c_str(), attributes);
}

bool ReadFileBytes(const std::string &path, std::string *content)
{
    return ReadFileContent(path, content);
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Fixture BuildFixture(const DesktopDescription &description)
{
    Fixture fixture;
    fixture.Root = FreshTempDir("engine");
    fixture.DesktopDir = fixture.Root + "\\desktop";
    fixture.DeviceDir = fixture.Root + "\\device";
    fixture.MainIniPath = fixture.DesktopDir + "\\vtmain.ini";
    fixture.FtpIniPath = fixture.DesktopDir + "\\vpx_ftp.ini";
    CreateDirectories(fixture.DesktopDir);
    CreateDirectories(fixture.DeviceDir);

    for (const FixtureFile &file : description.Files)
        WriteFileBytes(fixture.DesktopDir + "\\" + file.RelativePath, file.Content, file.Attributes);
    if (!description.ButtonBarPath.empty())
        WriteFileBytes(fixture.DesktopDir + "\\" + description.ButtonBarPath, description.ButtonBarContent);
    if (description.HasFtpIni)
        WriteFileBytes(fixture.FtpIniPath, description.FtpIni);
    // Last, so that a read-only attribute does not stand in the way of the other files.
    WriteFileBytes(fixture.MainIniPath, description.MainIni, description.MainIniAttributes);
    return fixture;
}

void RemoveTree(const std::string &dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

std::string TreeChecksum(const std::string &dir)
{
    std::vector<std::string> lines;
    ChecksumInto(dir, &lines);
    std::sort(lines.begin(), lines.end());
    std::string all;
    for (const std::string &line : lines)
        all += line + "\n";
    return all;
}

std::string RegistryChecksum()
{
    std::string all;
    RegistryValuesInto(HKEY_CURRENT_USER, "HKCU", &all);
    RegistryValuesInto(HKEY_LOCAL_MACHINE, "HKLM", &all);
    return all;
}

std::vector<std::string> ListDirectory(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadIniFile(const std::string &path, IniFile *file)
{
    file->clear();
    std::string text;
    if (!ReadFileBytes(path, &text))
        return false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        line = Trim(line);
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            IniSection section;
            section.Name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            file->push_back(section);
            continue;
        }
        if (file->empty())
            file->push_back(IniSection());
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            line = Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1));
        file->back().Lines.push_back(line);
    }
    return true;
}

std::string FormatIni(const IniFile &file)
{
    std::string all;
    for (const IniSection &section : file) {
        all += "[" + section.Name + "]\n";
        for (const std::string &line : section.Lines)
            all += "  " + line + "\n";
    }
    return all;
}

HWND CreatePageFromTemplate(int templateId)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    return CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(templateId), NULL, InertDialogProc, 0);
}

HWND CreateSettingsFileList(HWND parent, const std::vector<ListRow> &rows)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, parent, NULL,
                                GetModuleHandleA(NULL), NULL);
    if (!list)
        return NULL;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<char *>("Settings file");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (const ListRow &row : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<char *>(row.Name);
        int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMA state = {};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(row.Checked ? 2 : 1);
        SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    }
    return list;
}

std::string ControlText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

}  // namespace engine_fixture
