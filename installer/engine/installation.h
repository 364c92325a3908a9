// The installation run the progress page starts once, and the report through which it shows
// what it does and asks the user about copies that failed.
#pragma once

#include <windows.h>

// Callbacks of one run, each handed the report's context (the caller's own record, e.g. the page
// that shows the run). None of them may be NULL.
struct InstallReport {
    void *Context;
    // The share of the run done so far, from 0 to 100.
    void (*Progress)(void *context, int percent);
    // One line saying what the run is at.
    void (*Status)(void *context, const char *text);
    // A copy that failed with error (or a target that does not fit). TRUE: the user chose to stop
    // the installation, which then sets AbortRequested.
    BOOL (*CopyFailed)(void *context, const char *targetPath, DWORD error);
    // Lets the queued window messages through, without waiting for any: the caller's Cancel may
    // set AbortRequested there.
    void (*LetMessagesThrough)(void *context);
};

void RunInstallation(const InstallReport &report);

// Copies the checked rows of the settings-files list beside the portable main settings file.
void CopyExtraSettingsFiles(const InstallReport &report);
