// Saving what the screen shows of a window as a PNG file.
#pragma once

#include <windows.h>

#include <string>

// Copies the window's rectangle from the screen (frame included) into an RGB PNG file.
bool SaveWindowPng(HWND window, const std::string &path);
