// The one record that start-up, the wizard pages and the installation engine share.
#pragma once

#include <windows.h>

#include "base/buffers.h"

struct InstallStateRecord {
    HINSTANCE Instance;                  // holds the page templates and the icon
    char AppDataPath[PATH_BUFFER_SIZE];  // the device's application-data directory
    char TargetIniPath[PATH_BUFFER_SIZE];  // AppDataPath + "\vtmain.ini"
    char DesktopDir[PATH_BUFFER_SIZE];   // desktop installation directory, no trailing backslash
    char SourceIniPath[PATH_BUFFER_SIZE];     // desktop main settings file
    char SourceFtpIniPath[PATH_BUFFER_SIZE];  // desktop FTP settings file
    int LanguageIndex;                   // row of LanguageTable; 0 is English
    int CopySettings;
    int CopyPlugins;                     // only ever 1 while CopySettings is 1
    int UpgradeMode;
    int AbortRequested;                  // set by Cancel while the copy loops poll it
    int Installing;
    HFONT TitleFont;                     // created by the welcome page, deleted by the entry
};

extern InstallStateRecord InstallState;
