// Bounds of the waits in tests. Each only guards against a hang: it lies far beyond what the
// awaited step takes even on a loaded two-core machine, so a slow machine never fails a test;
// only something that will never happen runs into it.
#pragma once

#include <windows.h>

enum {
    STEP_HANG_GUARD_MS = 60000,      // a window's answer, a page change, a button state, a box
    PROCESS_HANG_GUARD_MS = 120000,  // a Wine process starting, showing its first window, ending
    RUN_HANG_GUARD_MS = 900000,      // a whole installation run, the largest fixtures included
};
