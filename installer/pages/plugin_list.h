// Filling the plugin list from the desktop main settings file.
#pragma once

#include <windows.h>

// Columns of a plugin row.
enum { PLUGIN_COLUMN_LABEL = 0, PLUGIN_COLUMN_SIZE = 1, PLUGIN_COLUMN_PATH = 2, PLUGIN_COLUMN_COPIED_TO = 3 };

// One row per registration of every kind, in kind order, from InstallState.SourceIniPath.
void FillPluginList(HWND list);

// The rows of one kind; withModuleName adds ": <base name>" and hides "_detect" companions.
void AddPluginSection(HWND list, const char *section, const char *prefix, BOOL withModuleName);

// Whether a key of a numbered kind is the "_detect" companion of another key.
BOOL IsDetectCompanion(const char *keyName);

// The plugin file path of a value: what follows its leading digits and one comma.
const char *SkipFlagsPrefix(const char *value);
