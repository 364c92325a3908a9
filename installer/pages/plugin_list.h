// Filling the plugin list from the desktop main settings file.
#pragma once

#include <windows.h>

#include "lists/plugin_row.h"

// One row per registration of every kind, in kind order, from InstallState.SourceIniPath.
void FillPluginList(HWND list);

// The rows of one kind; withModuleName adds ": <base name>" and hides "_detect" companions.
void AddPluginSection(HWND list, const char *section, const char *prefix, BOOL withModuleName);

// Whether a key of a numbered kind is the "_detect" companion of another key.
BOOL IsDetectCompanion(const char *keyName);

// The plugin file path of a value: what follows its leading digits and one comma.
const char *SkipFlagsPrefix(const char *value);
