// A stand-in for the installation engine, in this test executable only: it replaces
// RunInstallation so the progress page's tests can watch, hold and cancel a run.
#pragma once

#include <windows.h>

#include <atomic>

enum StandInMode {
    STAND_IN_RETURN,      // returns at once, as a run with nothing to copy
    STAND_IN_ABORT,       // sets AbortRequested itself, as a Cancel answer to a copy-error box
    STAND_IN_HOLD,        // lets messages through until AbortRequested is set or Release is set
};

struct StandInRun {
    StandInMode Mode = STAND_IN_RETURN;
    std::atomic<int> Calls{0};
    std::atomic<bool> Release{false};
    // What the run saw when it started and when it returned.
    HWND Page = NULL;
    int InstallingAtStart = 0;
    bool PageCurrentAtStart = false;
    bool PageVisibleAtStart = false;
    bool SawAbortWhileHolding = false;
    bool SheetOpenAtReturn = false;
    bool HoldTimedOut = false;
};

extern StandInRun StandIn;

// Back to STAND_IN_RETURN with no calls recorded.
void ResetStandIn();
