#pragma once

#include <windows.h>

// Open-file dialog for a settings file, starting from the path in the buffer. TRUE and the
// chosen full path in the buffer when the user picks a file; FALSE and the buffer unchanged
// when the dialog is cancelled or fails. The dialog has no owner: the wizard stays usable.
BOOL BrowseIniFile(char *path, int capacity);
