// Private window messages of the wizard pages.
#pragma once

#include <windows.h>

// Posted by the progress page to itself when it is created; starts the installation run. In the
// application's range: numbers from WM_USER on belong to the dialog manager (DM_SETDEFID is
// WM_USER + 1), which sends them to every page.
#define WM_START_INSTALLATION (WM_APP + 1)
