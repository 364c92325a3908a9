// The plugin rows of the desktop main settings file, and the plugin page's list drawn from them.
#pragma once

#include <windows.h>

#include "lists/plugin_row.h"
#include "lists/plugin_rows.h"

// Empties PluginRows, then one row per registration of every kind, in kind order, from
// InstallState.SourceIniPath, and links the rows that share a directory.
void FillPluginRows();

// The rows of one kind (a PluginKind index) appended to PluginRows; a numbered kind's labels end
// in ": <base name>", and its "_detect" companions are hidden.
void AddPluginSection(int kind);

// Whether a key of a numbered kind is the "_detect" companion of another key.
BOOL IsDetectCompanion(const char *keyName);

// One list row per record, in table order: label, size and path; rows start unchecked, as
// records do.
void DrawPluginList(HWND list);

// The "Copied to" column of every row of the list last drawn, from its record's device folder;
// nothing when no list was drawn.
void DrawCopiedTo();
