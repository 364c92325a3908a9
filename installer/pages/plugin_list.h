// Filling the plugin list from the desktop main settings file.
#pragma once

#include <windows.h>

#include "lists/plugin_row.h"

// One row per registration of every kind, in kind order, from InstallState.SourceIniPath.
void FillPluginList(HWND list);

// The rows of one kind (a PluginKind index); a numbered kind's labels end in ": <base name>",
// and its "_detect" companions are hidden.
void AddPluginSection(HWND list, int kind);

// Whether a key of a numbered kind is the "_detect" companion of another key.
BOOL IsDetectCompanion(const char *keyName);
