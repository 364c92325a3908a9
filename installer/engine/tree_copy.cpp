#include "engine/tree_copy.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "engine/copy_failure.h"
#include "files/directory_walk.h"
#include "files/whole_copy.h"

namespace {

// The target side of one copy. Below its root the target mirrors the source, so an entry's
// target path is the root plus the relative path the walk hands over.
struct CopyTarget {
    char Root[PATH_BUFFER_SIZE];  // ends in a backslash unless empty
    char Path[PATH_BUFFER_SIZE];  // the entry being handled
    const InstallReport *Report;  // where failures go and messages are let through
};

// Room for a whole target path plus an entry name that did not fit beside it.
enum { CAPTION_BUFFER_SIZE = 2 * PATH_BUFFER_SIZE };

CopyTarget *Target(void *context)
{
    return static_cast<CopyTarget *>(context);
}

// Only called for relative paths the bounds let through: the composed path always fits.
const char *ComposeTargetPath(void *context, const char *relative)
{
    CopyTarget *target = Target(context);
    CopyBounded(target->Path, COUNTOF(target->Path), target->Root);
    AppendBounded(target->Path, COUNTOF(target->Path), relative);
    return target->Path;
}

// Each entry gives the caller's Cancel its chance.
int PollAbort(void *context)
{
    const InstallReport &report = *Target(context)->Report;
    report.LetMessagesThrough(report.Context);
    return InstallState.AbortRequested ? WALK_STOP : WALK_GO_ON;
}

// A directory needs room for its separator on the target side too.
BOOL FitsTarget(void *context, const char *levelRelative, const char *name, BOOL isDirectory)
{
    int room = isDirectory ? 1 : 0;
    return lstrlenA(Target(context)->Root) + lstrlenA(levelRelative) + lstrlenA(name) + room <= PATH_MAX_CHARS;
}

int ReportEntryTooLong(void *context, const char *levelRelative, const char *name)
{
    char fullTarget[CAPTION_BUFFER_SIZE];
    CopyBounded(fullTarget, COUNTOF(fullTarget), Target(context)->Root);
    AppendBounded(fullTarget, COUNTOF(fullTarget), levelRelative);
    AppendBounded(fullTarget, COUNTOF(fullTarget), name);
    ReportCopyFailure(fullTarget, ERROR_FILENAME_EXCED_RANGE, *Target(context)->Report);
    return WALK_STOP;
}

// A failed copy leaves nothing it wrote; a file that was there before stays untouched.
int CopyOneFile(void *context, const char *path, const char *relative, const WIN32_FIND_DATAA &)
{
    const char *targetPath = ComposeTargetPath(context, relative);
    DWORD error;
    if (CopyWholeFile(path, targetPath, TRUE, &error)) {
        SetFileAttributesA(targetPath, 0);
        return WALK_GO_ON;
    }
    if (error == ERROR_FILE_EXISTS)
        return WALK_GO_ON;
    ReportCopyFailure(targetPath, error, *Target(context)->Report);
    return WALK_STOP;
}

// Creates (or reuses) the directory the walk is about to enter.
int CreateSubdirectory(void *context, const char *, const char *relative)
{
    if (!CreateDirectoryA(ComposeTargetPath(context, relative), NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return WALK_STOP;
    return WALK_GO_ON;
}

// A search that finds nothing at all in a directory that is there: the directory is empty (a
// drive root holds not even "." and ".."). A directory that is missing or cannot be listed copies
// nothing, and so its tree did not arrive: put to the user like any copy error, captioned with the
// directory on the device.
int CheckUnlistedDirectory(void *context, const char *path, const char *relative, DWORD searchError)
{
    if (searchError == ERROR_FILE_NOT_FOUND || searchError == ERROR_NO_MORE_FILES) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return WALK_GO_ON;
    }
    ReportCopyFailure(ComposeTargetPath(context, relative), searchError, *Target(context)->Report);
    return WALK_STOP;
}

const DirectoryVisitor COPY_VISITOR = {PollAbort,          FitsTarget,         ReportEntryTooLong,
                                       CopyOneFile,        CreateSubdirectory, CheckUnlistedDirectory};

}  // namespace

int CopyTree(const char *source, const char *target, const InstallReport &report)
{
    DirectoryWalk walk;
    CopyTarget copyTarget;
    copyTarget.Report = &report;
    if (!BeginWalk(&walk, source) ||
        !LoadDirectoryPath(copyTarget.Root, COUNTOF(copyTarget.Root), target, 0)) {
        ReportCopyFailure(target, ERROR_FILENAME_EXCED_RANGE, report);
        return 0;
    }
    return WalkDirectory(&walk, &COPY_VISITOR, &copyTarget);
}
