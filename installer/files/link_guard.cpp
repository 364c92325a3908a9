#include "files/link_guard.h"

#include "base/buffers.h"
#include "base/path_helpers.h"

namespace {

struct DirectoryIdentity {
    DWORD Volume;
    DWORD IndexHigh;
    DWORD IndexLow;
};

BOOL IdentifyDirectory(const char *path, DirectoryIdentity *identity)
{
    HANDLE directory = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (directory == INVALID_HANDLE_VALUE)
        return FALSE;
    BY_HANDLE_FILE_INFORMATION information;
    BOOL known = GetFileInformationByHandle(directory, &information);
    CloseHandle(directory);
    if (!known)
        return FALSE;
    identity->Volume = information.dwVolumeSerialNumber;
    identity->IndexHigh = information.nFileIndexHigh;
    identity->IndexLow = information.nFileIndexLow;
    return TRUE;
}

}  // namespace

BOOL IsDirectoryLink(const WIN32_FIND_DATAA &entry)
{
    const DWORD linkDirectory = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return (entry.dwFileAttributes & linkDirectory) == linkDirectory;
}

BOOL LinksBackIntoPath(const char *path)
{
    char walked[PATH_BUFFER_SIZE];
    CopyBounded(walked, COUNTOF(walked), path);
    StripBackslash(walked);
    DirectoryIdentity link;
    if (!IdentifyDirectory(walked, &link))
        return FALSE;
    // The separators, found character by character: the trail byte of a double-byte character
    // may be 0x5C, and a path cut inside a character is no directory the walk passes through.
    int separators[PATH_BUFFER_SIZE];
    int count = 0;
    for (const char *c = CharNextA(walked); *c; c = CharNextA(c)) {
        if (*c == '\\')
            separators[count++] = static_cast<int>(c - walked);
    }
    // Every directory the path passes through, from the nearest to the root ("c:\" included).
    while (count > 0) {
        int end = separators[--count];
        char saved = walked[end + 1];
        walked[end + 1] = '\0';
        DirectoryIdentity ancestor;
        BOOL same = IdentifyDirectory(walked, &ancestor) && ancestor.Volume == link.Volume &&
                    ancestor.IndexHigh == link.IndexHigh && ancestor.IndexLow == link.IndexLow;
        walked[end + 1] = saved;
        if (same)
            return TRUE;
    }
    return FALSE;
}
