// Finds the desktop installation: registry values, then its main settings file, then defaults.
#pragma once

// Installation directory exactly as found (not expanded; may end in a backslash).
void FindDesktopDir(char *directory);

// Resolved and expanded paths of the desktop main and FTP settings files.
void FindDesktopSettings(char *mainIniPath, char *ftpIniPath);
