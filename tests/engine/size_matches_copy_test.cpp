// The size the plugin page shows for a directory and the bytes the tree copy puts on the device,
// on the same trees: both come from one walk, and must never drift apart.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "engine/tree_copy.h"
#include "files/directory_size.h"
#include "support/files.h"
#include "support/recording_report.h"
#include "support/temp_directory.h"
#include "support/walk_bound.h"
#include "tree_fixture.h"

namespace {

// A file of Size bytes, or a directory when Relative ends in a backslash. Every '#' stands for one
// padding run, the same throughout a case, long enough that the first entry holding it has a full
// source path (without trailing backslash) of the case's PadTo characters.
struct SizedEntry {
    const char *Relative;
    unsigned long long Size;
};

// A link Name in Directory (relative to the source root) to Target, as the Linux side writes it.
struct DirectoryLink {
    const char *Directory;
    const char *Name;
    const char *Target;
};

struct Case {
    const char *Name;
    std::vector<SizedEntry> Entries;
    std::vector<DirectoryLink> Links;
    int PadTo;                 // used when an entry holds a mark
    unsigned long long Bytes;  // what the scan counts and the copy copies
    int CopyResult;
    size_t CopyErrors;  // copy errors put to the user
};

const char PAD_MARK = '#';

std::string Padded(const std::string &relative, const std::string &pad)
{
    std::string result;
    for (char c : relative)
        result += c == PAD_MARK ? pad : std::string(1, c);
    return result;
}

// The first entry with a mark, without a directory's trailing backslash; empty when none has one.
std::string BoundEntry(const Case &c)
{
    for (const SizedEntry &entry : c.Entries) {
        std::string relative = entry.Relative;
        if (relative.find(PAD_MARK) == std::string::npos)
            continue;
        if (relative.back() == '\\')
            relative.pop_back();
        return relative;
    }
    return "";
}

unsigned long long BytesBelow(const std::string &root)
{
    unsigned long long bytes = 0;
    WalkTree(root, [&bytes](const WIN32_FIND_DATAW &entry, const std::wstring &, const std::string &) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        return true;
    });
    return bytes;
}

// File sizes are powers of two, so that a wrong sum tells which files were counted.
const Case CASES[] = {
    {"archives are left out, at any depth and as directories",
     {{"keep.txt", 1}, {"old.zip", 2}, {"DATA.RAR", 4}, {"Backup.Rar\\", 0}, {"Backup.Rar\\x.txt", 8},
      {"notes.zip.txt", 16}, {"sub\\", 0}, {"sub\\skip.ZIP", 32}, {"sub\\deep\\", 0}, {"sub\\deep\\file.dat", 64},
      {"empty\\", 0}},
     {}, 0, 1 + 16 + 64, 1, 0},
    {"nested directories, each level with a file",
     {{"a\\", 0}, {"a\\1.bin", 1}, {"a\\b\\", 0}, {"a\\b\\2.bin", 2}, {"a\\b\\c\\", 0}, {"a\\b\\c\\4.bin", 4},
      {"a\\b\\c\\d\\", 0}, {"a\\b\\c\\d\\8.bin", 8}, {"z\\", 0}, {"z\\16.bin", 16}},
     {}, 0, 31, 1, 0},
    {"file path of 259 characters", {{"a.txt", 1}, {"#", 2}}, {}, 259, 3, 1, 0},
    {"file path of 260 characters", {{"#", 2}}, {}, 260, 0, 0, 1},
    {"directory path of 255 characters, room for its search",
     {{"#\\", 0}, {"#\\x", 4}, {"a.txt", 1}}, {}, 255, 5, 1, 0},
    {"directory path of 256 characters", {{"#\\", 0}, {"#\\x", 4}}, {}, 256, 0, 0, 1},
    // Left out before any bound is looked at: no error, and not counted.
    {"archive whose path does not fit", {{"#.zip", 2}, {"a.txt", 1}}, {}, 270, 1, 1, 0},
    {"links back into the walked path are not followed, a link beside it is",
     {{"top.txt", 1}, {"sub\\", 0}, {"sub\\f.txt", 2}, {"other\\", 0}, {"other\\o.txt", 4}},
     {{"sub", "loop", ".."}, {"", "self", "."}, {"sub", "sideways", "../other"}}, 0, 1 + 2 + 4 + 4, 1, 0},
};

TEST(SizeMatchesCopy, ScanCountsExactlyTheBytesTheCopyCopies)
{
    ScratchDirectory scratch("size_matches_copy");
    for (int i = 0; i < static_cast<int>(COUNTOF(CASES)); ++i) {
        const Case &c = CASES[i];
        SCOPED_TRACE(c.Name);
        InstallState.AbortRequested = 0;
        // Roots of the same length: an entry fits the source and the target alike.
        std::string source = Join(scratch.Path, "s" + std::to_string(i));
        std::string target = Join(scratch.Path, "t" + std::to_string(i));
        ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
        ASSERT_TRUE(CreateDirectoryA(target.c_str(), NULL));
        std::string pad;
        std::string bound = BoundEntry(c);
        if (!bound.empty())
            pad.assign(c.PadTo - Join(source, Padded(bound, "")).size(), 'p');
        for (const SizedEntry &entry : c.Entries) {
            std::string path = Join(source, Padded(entry.Relative, pad));
            if (path.back() == '\\')
                MakeDirectories(path.substr(0, path.size() - 1));
            else
                WriteSizedFile(path, entry.Size);
            ASSERT_TRUE(PathExists(path)) << "could not make " << path;
        }
        for (const DirectoryLink &link : c.Links)
            ASSERT_TRUE(MakeUnixSymlink(Join(source, link.Directory), link.Name, link.Target))
                << "could not create the link " << link.Name;
        // Bounded first: a link guard that fails makes the scan below endless.
        if (!c.Links.empty()) {
            ASSERT_TRUE(WalkOfLinkedTreeEnds(source));
        }

        unsigned long long scanned = DirectorySize(source.c_str());
        RecordingReport recording;
        int result = CopyTree(source.c_str(), target.c_str(), recording.Report());

        EXPECT_EQ(c.Bytes, scanned);
        EXPECT_EQ(scanned, BytesBelow(target));
        EXPECT_EQ(c.CopyResult, result);
        EXPECT_EQ(c.CopyErrors, recording.CopyFailures.size());
        for (const RecordedCopyFailure &failure : recording.CopyFailures)
            EXPECT_NE(static_cast<DWORD>(ERROR_DISK_FULL), failure.Error) << failure.TargetPath;
    }
}

}  // namespace
