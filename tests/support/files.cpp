#include "support/files.h"

#include <windows.h>

#include "support/unix_side.h"

std::string FreshTempDirectory(const char *name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + name;
    RemoveTree(path);
    MakeDirectories(path);
    return path;
}

namespace {

// Wide paths: the ANSI file functions stop at 259 characters, and fixtures go past them.
std::wstring Wide(const std::string &text)
{
    std::wstring wide(text.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

}  // namespace

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

std::string NarrowName(const std::wstring &name)
{
    std::string narrow(name.size() * 2 + 1, '\0');
    int length = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()), NULL,
                                     NULL);
    narrow.resize(length > 0 ? length - 1 : 0);
    return narrow;
}

namespace {

void WalkLevel(const std::wstring &directory, const std::string &relative, const TreeVisitor &visit)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = directory + L"\\" + name;
        std::string shown = relative.empty() ? NarrowName(name) : relative + "\\" + NarrowName(name);
        if (visit(entry, path, shown) && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            WalkLevel(path, shown, visit);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

}  // namespace

void WalkTree(const std::wstring &root, const TreeVisitor &visit)
{
    WalkLevel(root, "", visit);
}

void WalkTree(const std::string &root, const TreeVisitor &visit)
{
    WalkLevel(Wide(root), "", visit);
}

bool ReadFileContent(const std::string &path, std::string *content)
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

void RemoveTree(const std::string &path)
{
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    // Links and paths past the Windows bound are gone only through the Linux side.
    std::string unixPath = UnixPathOf(path.c_str());
    if (!unixPath.empty() && RunUnixCommand("rm -rf '" + unixPath + "'"))
        return;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // Wine cannot remove a link to a directory; the Linux side can.
        RunUnixCommand("rm -f '" + UnixPathOf(path.c_str()) + "'");
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str()))
            RemoveDirectoryA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}
