#include "support/tree_snapshot.h"

#include "support/files.h"
#include "support/trees.h"

#include <cstdio>

namespace {

void Walk(const std::string &root, TreeSnapshot &snapshot)
{
    WalkTree(root, [&](const WIN32_FIND_DATAW &found, const std::wstring &, const std::string &path) {
        TreeEntry &entry = snapshot[path];
        entry.Directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.Attributes = found.dwFileAttributes;
        if (!entry.Directory) {
            entry.Size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            entry.Contents = ReadWholeFile(root + "\\" + path);
        }
        return true;
    });
}

std::string Hex(DWORD value)
{
    char text[16];
    snprintf(text, sizeof(text), "0x%lx", static_cast<unsigned long>(value));
    return text;
}

}  // namespace

TreeSnapshot SnapshotTree(const std::string &root)
{
    TreeSnapshot snapshot;
    Walk(root, snapshot);
    return snapshot;
}

std::string TreeDifferences(const TreeSnapshot &before, const TreeSnapshot &after)
{
    std::string out;
    for (const auto &entry : before) {
        auto now = after.find(entry.first);
        if (now == after.end()) {
            out += "removed: " + entry.first + "\n";
            continue;
        }
        const TreeEntry &was = entry.second, &is = now->second;
        if (was.Directory != is.Directory)
            out += "changed kind: " + entry.first + "\n";
        if (was.Size != is.Size)
            out += "changed size: " + entry.first + " " + std::to_string(was.Size) + " -> " + std::to_string(is.Size) +
                   "\n";
        if (was.Attributes != is.Attributes)
            out += "changed attributes: " + entry.first + " " + Hex(was.Attributes) + " -> " + Hex(is.Attributes) + "\n";
        if (was.Contents != is.Contents)
            out += "changed contents: " + entry.first + "\n";
    }
    for (const auto &entry : after) {
        if (before.find(entry.first) == before.end())
            out += "added: " + entry.first + "\n";
    }
    return out;
}
