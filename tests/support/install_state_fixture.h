// Points the installer's shared record at a test's desktop installation and device directory,
// the way start-up leaves it, so that pages and engine steps run against the fixture.
#pragma once

#include <string>

// DesktopDir, SourceIniPath and SourceFtpIniPath (desktopDir's vtmain.ini and vpx_ftp.ini);
// AppDataPath and TargetIniPath (its vtmain.ini) for deviceDir, unless that is empty. Paths are
// cut at the buffers' bound, as start-up cuts them. The rest of the record is left as it is.
void PointInstallStateAt(const std::string &desktopDir, const std::string &deviceDir);

// VELTRANO_PATH as start-up exports it and U3_APP_DATA_PATH as the platform sets it; an empty
// directory removes its variable.
void ExportInstallVariables(const std::string &desktopDir, const std::string &deviceDir);

// A fresh InstallState (Instance = this module) pointed at a new empty desktop directory, made
// under a name taken from `name`, with no device; returns the directory.
std::string PointFreshInstallStateAtNewDesktop(const char *name);
