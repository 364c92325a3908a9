// Private window messages of the wizard pages.
#pragma once

#include <windows.h>

// Posted by the progress page to itself when it is created; starts the installation run.
// It shares its number with DM_SETDEFID, so the page acts on it only once per creation.
#define WM_START_INSTALLATION (WM_USER + 1)
