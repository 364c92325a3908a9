#include "support/tree_checksum.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/files.h"
#include "support/trees.h"

namespace {

const unsigned long long HASHED_FILE_LIMIT = 64ull * 1024 * 1024;

unsigned long long HashFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                              NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    unsigned long long hash = 1469598103934665603ULL;
    static char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, NULL) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            hash ^= static_cast<unsigned char>(block[i]);
            hash *= 1099511628211ULL;
        }
    }
    CloseHandle(file);
    return hash;
}

}  // namespace

std::string TreeChecksum(const std::string &dir, const std::string &skip)
{
    std::wstring skipped = Wide(skip);
    std::vector<std::string> lines;
    WalkTree(dir, [&](const WIN32_FIND_DATAW &found, const std::wstring &path, const std::string &shown) {
        if (!skipped.empty() && lstrcmpiW(path.c_str(), skipped.c_str()) == 0)
            return false;
        unsigned long long size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        unsigned long long hash = (!isDirectory && !isLink && size <= HASHED_FILE_LIMIT) ? HashFile(path) : 0;
        char line[128];
        snprintf(line, sizeof(line), " size=%llu attributes=%#lx written=%08lx%08lx hash=%016llx", size,
                 found.dwFileAttributes, found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime,
                 hash);
        lines.push_back(shown + line);
        return !isLink;
    });
    std::sort(lines.begin(), lines.end());
    std::string all;
    for (const std::string &line : lines)
        all += line + "\n";
    return all;
}
