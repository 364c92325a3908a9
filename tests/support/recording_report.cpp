#include "support/recording_report.h"

namespace {

RecordingReport &Recording(void *context)
{
    return *static_cast<RecordingReport *>(context);
}

void RecordProgress(void *context, int percent)
{
    Recording(context).Progress.push_back(percent);
}

void RecordStatus(void *context, const char *text)
{
    Recording(context).Statuses.push_back(text);
}

BOOL RecordCopyFailure(void *context, const char *targetPath, DWORD error)
{
    RecordingReport &recording = Recording(context);
    size_t index = recording.CopyFailures.size();
    BOOL stop = index < recording.StopAnswers.size() ? recording.StopAnswers[index] : recording.DefaultStop;
    if (recording.StopWhen)
        stop = recording.StopWhen(targetPath) ? TRUE : FALSE;
    recording.CopyFailures.push_back({targetPath, error, stop});
    return stop;
}

void RecordLetThrough(void *context)
{
    RecordingReport &recording = Recording(context);
    int call = ++recording.LetThroughCalls;
    if (recording.WhileLettingMessagesThrough)
        recording.WhileLettingMessagesThrough(call);
}

}  // namespace

InstallReport RecordingReport::Report()
{
    InstallReport report = {this, RecordProgress, RecordStatus, RecordCopyFailure, RecordLetThrough};
    return report;
}

std::vector<std::string> RecordingReport::FailedTargets() const
{
    std::vector<std::string> targets;
    for (const RecordedCopyFailure &failure : CopyFailures)
        targets.push_back(failure.TargetPath);
    return targets;
}

std::string RecordingReport::LastStatus() const
{
    return Statuses.empty() ? std::string() : Statuses.back();
}
