#include "tree_fixture.h"

#include "support/files.h"
#include "support/hang_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

const DWORD UNIX_COMMAND_WAIT_MS = PROCESS_HANG_GUARD_MS;

std::wstring Wide(const std::string &text)
{
    std::wstring wide(text.size(), L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0],
                                     static_cast<int>(wide.size()));
    wide.resize(length);
    return wide;
}

std::string Narrow(const wchar_t *text)
{
    char narrow[1024];
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), NULL, NULL);
    return narrow;
}

std::string TempDirectory()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

void ListInto(const std::string &root, const std::string &relative, std::set<std::string> *found)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Wide(Join(Join(root, relative), "*")).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = Narrow(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink) {
            found->insert(relative + name + "\\");
            ListInto(root, relative + name + "\\", found);
        } else {
            found->insert(relative + name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

// Starts a program of the unix side (Wine runs those directly) in `directory`. Wine hands back
// no exit code for them: the caller waits for the program's effect instead.
bool StartUnixCommand(const char *program, const std::string &arguments, const std::string &directory)
{
    std::string line = std::string(program) + " " + arguments;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    std::string executable = std::string("Z:\\bin\\") + program;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(executable.c_str(), commandLine.data(), NULL, NULL, FALSE, 0, NULL, directory.c_str(),
                        &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

// Bounded wait for a path to appear (wanted true) or to go away (wanted false).
bool WaitForPath(const std::string &path, bool wanted)
{
    DWORD start = GetTickCount();
    while (PathExists(path) != wanted) {
        if (GetTickCount() - start > UNIX_COMMAND_WAIT_MS)
            return false;
        Sleep(5);
    }
    return true;
}

}  // namespace

std::string Join(const std::string &directory, const std::string &name)
{
    if (!directory.empty() && directory.back() == '\\')
        return directory + name;
    return directory + "\\" + name;
}

ScratchDirectory::ScratchDirectory(const std::string &name)
{
    Path = TempDirectory() + "tree_copy_" + name;
    RemoveTree(Path);
    CreateDirectoryW(Wide(Path).c_str(), NULL);
}

ScratchDirectory::~ScratchDirectory()
{
    RemoveTree(Path);
}

std::string ReadTextFile(const std::string &path)
{
    std::string content;
    return ReadFileContent(path, &content) ? content : "<missing>";
}

unsigned long Attributes(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str());
}

bool PathExists(const std::string &path)
{
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
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

std::set<std::string> ListTree(const std::string &root)
{
    std::set<std::string> found;
    ListInto(root, "", &found);
    return found;
}

bool MakeUnixSymlink(const std::string &directory, const std::string &linkName, const std::string &target)
{
    if (!StartUnixCommand("ln", "-s " + target + " " + linkName, directory))
        return false;
    return WaitForPath(Join(directory, linkName), true);
}
