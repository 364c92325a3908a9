// A stand-in for the installation engine, in this test executable only: it replaces
// RunInstallation so the progress page's tests can watch, hold and cancel a run, and reach the
// report the page hands it.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "engine/installation.h"

enum StandInMode {
    STAND_IN_RETURN,      // returns at once, as a run with nothing to copy
    STAND_IN_ABORT,       // sets AbortRequested itself, as a Cancel answer to a copy-error box
    STAND_IN_HOLD,        // lets messages through until AbortRequested is set or Release is set
    STAND_IN_COPY_FAILS,  // reports one failed copy (FailedTarget, FailedError), as the engine does
};

struct StandInRun {
    StandInMode Mode = STAND_IN_RETURN;
    std::atomic<int> Calls{0};
    std::atomic<bool> Release{false};
    std::string FailedTarget;
    DWORD FailedError = 0;
    HWND ActiveAtFailure = NULL;  // made the active window just before the failure, unless NULL
    // What the run saw when it started and when it returned.
    InstallReport Report = {};
    HWND Page = NULL;  // the report's context
    int InstallingAtStart = 0;
    bool PageCurrentAtStart = false;
    bool PageVisibleAtStart = false;
    bool SawAbortWhileHolding = false;
    bool SheetOpenAtReturn = false;
    bool HoldTimedOut = false;
    bool CopyFailedAnswer = false;  // the report's answer to the failed copy: stop
};

extern StandInRun StandIn;

// Back to STAND_IN_RETURN with no calls recorded.
void ResetStandIn();
