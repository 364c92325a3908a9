#include "support/files.h"

std::wstring Wide(const std::string &text)
{
    std::wstring wide(text.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

std::string NarrowName(const std::wstring &name)
{
    std::string narrow(name.size() * 2 + 1, '\0');
    int length = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()), NULL,
                                     NULL);
    narrow.resize(length > 0 ? length - 1 : 0);
    return narrow;
}

void MakeDirectories(const std::string &path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(Wide(path.substr(0, at)).c_str(), NULL);
    CreateDirectoryW(Wide(path).c_str(), NULL);
}

bool WriteTextFile(const std::string &path, const std::string &text)
{
    MakeDirectories(path.substr(0, path.find_last_of('\\')));
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == text.size();
}

bool WriteFileBytes(const std::string &path, const std::string &content, DWORD attributes)
{
    if (!WriteTextFile(path, content))
        return false;
    return !attributes || SetFileAttributesW(Wide(path).c_str(), attributes);
}

bool ReadFileBytes(const std::string &path, std::string *content)
{
    content->clear();
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, NULL) && got > 0)
        content->append(block, got);
    CloseHandle(file);
    return true;
}

std::string ReadWholeFile(const std::string &path)
{
    std::string text;
    ReadFileBytes(path, &text);
    return text;
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WindowsDirectory()
{
    char directory[MAX_PATH] = "";
    GetWindowsDirectoryA(directory, MAX_PATH);
    return directory;
}

std::string WindowsFile(const char *name)
{
    std::string directory = WindowsDirectory();
    if (directory.empty() || directory.back() != '\\')
        directory += '\\';
    return directory + name;
}

void WriteSizedFile(const std::string &path, unsigned long long size)
{
    MakeDirectories(path.substr(0, path.find_last_of('\\')));
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file, end, NULL, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}
