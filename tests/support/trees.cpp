#include "support/trees.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/files.h"
#include "support/unix_side.h"

namespace {

bool IsDirectory(const WIN32_FIND_DATAW &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsLink(const WIN32_FIND_DATAW &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

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
        if (visit(entry, path, shown) && IsDirectory(entry))
            WalkLevel(path, shown, visit);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

}  // namespace

std::string Join(const std::string &directory, const std::string &name)
{
    if (!directory.empty() && directory.back() == '\\')
        return directory + name;
    return directory + "\\" + name;
}

void BuildTree(const std::string &root, const std::vector<std::string> &entries)
{
    for (const std::string &entry : entries) {
        std::string path = Join(root, entry);
        if (entry.back() == '\\') {
            path.pop_back();
            ASSERT_TRUE(CreateDirectoryW(Wide(path).c_str(), NULL)) << "could not create " << path;
        } else {
            ASSERT_TRUE(WriteTextFile(path, entry)) << "could not write " << path;
        }
    }
}

void WalkTree(const std::wstring &root, const TreeVisitor &visit)
{
    WalkLevel(root, "", visit);
}

void WalkTree(const std::string &root, const TreeVisitor &visit)
{
    WalkLevel(Wide(root), "", visit);
}

std::vector<std::string> ListDirectory(const std::string &dir)
{
    std::vector<std::string> names;
    WalkTree(dir, [&](const WIN32_FIND_DATAW &, const std::wstring &, const std::string &relative) {
        names.push_back(relative);
        return false;
    });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListTree(const std::string &root)
{
    std::vector<std::string> entries;
    WalkTree(root, [&](const WIN32_FIND_DATAW &entry, const std::wstring &, const std::string &relative) {
        bool walkInto = IsDirectory(entry) && !IsLink(entry);
        entries.push_back(walkInto ? relative + "\\" : relative);
        return walkInto;
    });
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<std::string> ListTreeFiles(const std::string &root)
{
    std::vector<std::string> files;
    for (const std::string &entry : ListTree(root)) {
        if (entry.back() != '\\')
            files.push_back(entry);
    }
    return files;
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
