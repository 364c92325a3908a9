#include "files/link_guard.h"

#include "base/install_state.h"
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
    CopyBounded(walked, path, COUNTOF(walked));
    StripBackslash(walked);
    DirectoryIdentity link;
    if (!IdentifyDirectory(walked, &link))
        return FALSE;
    // Every directory the path passes through, from the nearest to the root ("c:\" included).
    for (int end = lstrlenA(walked) - 1; end > 0; --end) {
        if (walked[end] != '\\')
            continue;
        char saved = walked[end + 1];
        walked[end + 1] = '\0';
        DirectoryIdentity ancestor;
        BOOL same = IdentifyDirectory(walked, &ancestor) && ancestor.Volume == link.Volume &&
                    ancestor.IndexHigh == link.IndexHigh && ancestor.IndexLow == link.IndexLow;
        walked[end + 1] = saved;
        walked[end] = '\0';
        if (same)
            return TRUE;
    }
    return FALSE;
}
