// The plugin page's rows as data: one record per listed registration of the desktop settings
// file. The plugin page fills the table and draws its list from it; a check-box change writes
// Checked; the checked total adds sizes; the plugin transfer walks the records and writes what
// became of each row. Empty until the plugin page was first shown.
#pragma once

#include <windows.h>

#include "base/buffers.h"
#include "lists/row_storage.h"

struct PluginRow {
    int Kind;                               // a PluginKind index
    char Key[PATH_BUFFER_SIZE];             // the desktop key
    char Label[PATH_BUFFER_SIZE];           // what the list shows: the kind's prefix, the key, ...
    char Value[PATH_BUFFER_SIZE];           // the desktop value as read when the page filled
    char SourceDirectory[PATH_BUFFER_SIZE];  // expanded, no trailing backslash; the run's own once
                                            // the transfer has read the value again
    unsigned long long SizeBytes;           // of the source directory, as the page measured it
    BOOL Checked;
    char DeviceFolder[PATH_BUFFER_SIZE];    // "Copied to": empty until the transfer gives one
    BOOL ArrivedWhole;                      // the whole tree arrived in DeviceFolder
    int SharesWith;                         // the nearest earlier row of the same source directory
                                            // (as the file system compares names), or -1
};

extern RowTable<PluginRow> PluginRows;

// A new zeroed row at the end, SharesWith -1; NULL when memory runs out.
PluginRow *AppendPluginRow();

void ClearPluginRows();

int CountCheckedPluginRows();

// SharesWith of every row, over the whole table: rows whose source directories are the same name
// to the file system form a group, each pointing at the one before it. FALSE when memory runs out
// (every row then stands alone).
BOOL LinkSharedDirectories();
