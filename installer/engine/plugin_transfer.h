#pragma once

#include <windows.h>

// Copies the checked plugins to the device and registers them in the portable settings file.
void TransferPlugins(HWND page);
