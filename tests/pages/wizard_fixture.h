// What the page tests share: a clean InstallState, the engine stand-in reset, and a folder of
// settings files on disk for the settings source page to find (or not).
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "installation_stand_in.h"
#include "support/wizard_driver.h"

struct SettingsFolder {
    std::string Dir;       // a fresh folder under the temporary directory
    std::string MainIni;   // an existing main settings file
    std::string OtherIni;  // a second existing settings file
    std::string FtpIni;    // an existing FTP settings file
    std::string SubDir;    // a folder named like a settings file
    std::string Missing;   // a path in Dir that does not exist
};

// Created once per test executable.
const SettingsFolder &Settings();

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetInstallState();
        ResetStandIn();
    }
};

// From the welcome page to the settings source page.
void GoToSettingsSource(WizardDriver &wizard);

// On the settings source page: sets both boxes (as clicks) and the main path.
void ChooseSources(WizardDriver &wizard, bool copySettings, bool copyPlugins, const std::string &mainIni);

// A hidden report-view list with check boxes and `rows` rows, of which the first `checked`
// are checked. Create it on the test's main thread so the wizard's thread can reach it.
HWND CreateCheckList(int rows, int checked);
