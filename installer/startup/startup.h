// The start-up steps of stickinstall, in the order the entry runs them.
#pragma once

#include <windows.h>

enum { EXIT_REFUSED = 1, EXIT_NORMAL = 0 };

// The whole entry: checks, discovery, wizard. Returns the process exit code.
int RunStickInstall(HINSTANCE instance);

// UpgradeMode from U3_IS_UPGRADE: "true" or "1", without regard to case.
void ReadUpgradeMode();

// AppDataPath from U3_APP_DATA_PATH; FALSE when it is unset or empty.
BOOL ReadAppDataPath();

// TargetIniPath = AppDataPath + "\vtmain.ini". FALSE when U3_APP_DATA_PATH or the target
// does not fit a path buffer: the paths are then cut and must not be used.
BOOL ComposeTargetIniPath();

// DesktopDir from the desktop discovery, exported as VELTRANO_PATH when not empty.
void LocateDesktopDir();
