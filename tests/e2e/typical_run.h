// The typical run of the wizard, as a user makes it: the default language, both boxes ticked on
// the settings page, the found desktop settings file left in place, some plugins and settings
// files checked, Next on the summary, and Finish once the run has ended.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "installer_driver.h"

struct TypicalChoices {
    std::string FoundSettingsFile;           // the settings page must show it; empty: not looked at
    std::vector<std::string> Plugins;        // labels of the plugin rows to check
    std::vector<std::string> SettingsFiles;  // names of the settings-file rows to check
};

// Called once on each of the seven pages, when the page is current and the user's choices on it
// are made, just before the driver leaves it (screenshots, reading what the page shows).
typedef std::function<void(int templateId)> PageReady;

// Drives the wizard from its first page to Finish. True when every step went as a user expects;
// else the driver's Failure() says where it stopped. The caller waits for the process to end.
bool DriveTypicalRun(InstallerDriver &driver, const TypicalChoices &choices, const PageReady &ready);

// The two halves of it: up to Next on the summary page, and from there to Finish.
bool DriveToInstallation(InstallerDriver &driver, const TypicalChoices &choices, const PageReady &ready);
bool FinishInstallation(InstallerDriver &driver, const PageReady &ready);
