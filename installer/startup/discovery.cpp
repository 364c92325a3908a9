#include "startup/discovery.h"

#include <windows.h>

#include "startup/install_state.h"
#include "startup/path_helpers.h"

// Placeholder until discovery is built: the built-in defaults only.
void FindDesktopDir(char *directory)
{
    CopyBounded(directory, "c:\\veltrfm", PATH_BUFFER_SIZE);
}

void FindDesktopSettings(char *mainIniPath, char *ftpIniPath)
{
    char windowsDir[PATH_BUFFER_SIZE];
    GetWindowsDirectoryA(windowsDir, PATH_MAX_CHARS);
    AppendBackslash(windowsDir, COUNTOF(windowsDir));
    CopyBounded(mainIniPath, windowsDir, PATH_BUFFER_SIZE);
    AppendBounded(mainIniPath, "vtmain.ini", PATH_BUFFER_SIZE);
    CopyBounded(ftpIniPath, windowsDir, PATH_BUFFER_SIZE);
    AppendBounded(ftpIniPath, "vpx_ftp.ini", PATH_BUFFER_SIZE);
}
