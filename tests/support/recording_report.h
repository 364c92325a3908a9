// A report for the installation engine's tests: it records what a run shows and asks, in order,
// and answers copy failures from a script instead of a message box.
//
//     RecordingReport recording;
//     recording.StopAnswers = {FALSE, TRUE};       // OK on the first failure, Cancel on the second
//     TransferPlugins(recording.Report());
//     EXPECT_EQ(std::vector<int>{66}, recording.Progress);
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/installation.h"

struct RecordedCopyFailure {
    std::string TargetPath;
    DWORD Error;
    BOOL Stopped;  // the answer given: TRUE for stop
};

struct RecordingReport {
    // The report whose context is this record; valid while the record lives.
    InstallReport Report();

    // The answers to copy failures, in order; once they are used up, DefaultStop answers. Where
    // StopWhen is set, it answers instead, from the failed target's path.
    std::vector<BOOL> StopAnswers;
    std::function<bool(const std::string &targetPath)> StopWhen;
    BOOL DefaultStop = FALSE;
    // Runs on every call of LetMessagesThrough with the call's number (from 1): what arrives
    // while messages are let through, e.g. a Cancel that sets AbortRequested.
    std::function<void(int call)> WhileLettingMessagesThrough;

    std::vector<int> Progress;
    std::vector<std::string> Statuses;
    std::vector<RecordedCopyFailure> CopyFailures;
    int LetThroughCalls = 0;

    // The target paths of the copy failures, in order.
    std::vector<std::string> FailedTargets() const;
    // The last status shown; empty when none was.
    std::string LastStatus() const;
};
