// The rows of the plugin list, which the plugin page fills and the installation reads back: the
// row label ("Packer: 7z", "Lister: 0: imgview") and the desktop plugin value it stands for
// ("<flags>,<directory>\<file>"). Whole or nothing, as the path helpers: the installation finds
// the key again in the label, and a cut key or path would name another plugin.
#pragma once

#include <windows.h>

#include "base/buffers.h"
#include "base/path_helpers.h"

struct PluginKindEntry {
    const char *LabelPrefix;   // row label prefix, trailing blank included
    const char *Section;       // settings section of the kind
    const char *TargetSubdir;  // subdirectory of the device's plugin tree
    int Renumbered;            // keys numbered 0, 1, 2, ... and a "_detect" companion
};

enum { PLUGIN_KIND_COUNT = 4 };
enum PluginKindIndex { KIND_PACKER, KIND_LISTER, KIND_FILE_SYSTEM, KIND_CONTENT };

// In the order the plugin list is filled.
extern const PluginKindEntry PluginKind[PLUGIN_KIND_COUNT];

// Columns of a plugin row.
enum { PLUGIN_COLUMN_LABEL = 0, PLUGIN_COLUMN_SIZE = 1, PLUGIN_COLUMN_PATH = 2, PLUGIN_COLUMN_COPIED_TO = 3 };

// label = the kind's prefix and the key, then ": " and moduleBaseName unless that is NULL. FALSE,
// and an empty label, when the prefix and the key do not fit; the module name, which is never
// read back, is shown as far as it fits.
BOOL ComposePluginLabel(char *label, int capacity, int kind, const char *key, const char *moduleBaseName);

// The kind whose prefix starts label, and the desktop key into desktopKey: the rest of the label,
// for a numbered kind up to its first ':'. -1, and an empty key, when no prefix starts the label
// or the key does not fit.
int ParsePluginLabel(const char *label, char *desktopKey, int capacity);

// A desktop plugin value taken apart: flags prefix (digits and one comma, as written), source
// directory, plugin file name.
struct PluginValue {
    char Flags[PATH_BUFFER_SIZE];
    char SourceDirectory[PATH_BUFFER_SIZE];
    char FileName[PATH_BUFFER_SIZE];
};

// Splits an expanded value at its last backslash, then the flags prefix off the directory. FALSE, and empty
// parts, when the value has no backslash or a part does not fit.
BOOL SplitPluginValue(PluginValue *parts, const char *value);

enum PluginValueResult { PLUGIN_VALUE_SPLIT, PLUGIN_VALUE_TOO_LONG, PLUGIN_VALUE_NO_FILE };

// A desktop plugin value (as read, at most 259 characters) with its references expanded, then
// taken apart: the one meaning of a value for the plugin page and the transfer.
// PLUGIN_VALUE_NO_FILE, and empty parts, when the value has no backslash or, too long once
// expanded, nothing after its last one. PLUGIN_VALUE_TOO_LONG when the expanded value does not fit
// a path buffer: only SourceDirectory is given then, and only when the flags and the expanded
// directory fit one (the page lists such a plugin by its directory; the transfer cannot copy it).
PluginValueResult ParsePluginValue(PluginValue *parts, const char *value);

// The base name of the value's plugin file, the module name a numbered kind's label ends in.
// FALSE, and an empty name, when the value has no backslash or the name does not fit.
BOOL PluginModuleName(char *baseName, int capacity, const char *value);
