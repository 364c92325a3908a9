#include "typical_run.h"

#include "resources/resource.h"

namespace {

bool Arrive(InstallerDriver &driver, int templateId)
{
    return driver.WaitForTemplate(templateId) &&
           driver.WaitUntil([&] { return driver.ButtonUsable(SHEET_CANCEL); }, "the Cancel button");
}

void Leave(InstallerDriver &driver, int templateId, const PageReady &ready, SheetButton button)
{
    if (!driver.Ok())
        return;
    if (ready)
        ready(templateId);
    driver.Press(button);
}

}  // namespace

bool DriveToInstallation(InstallerDriver &driver, const TypicalChoices &choices, const PageReady &ready)
{
    if (!driver.FindSheet())
        return false;

    if (Arrive(driver, IDD_WELCOME) &&
        driver.WaitUntil([&] { return driver.ButtonUsable(SHEET_NEXT); }, "Next on the welcome page"))
        Leave(driver, IDD_WELCOME, ready, SHEET_NEXT);

    if (Arrive(driver, IDD_LANGUAGE) &&
        driver.WaitUntil([&] { return driver.ButtonUsable(SHEET_NEXT) && driver.ButtonUsable(SHEET_BACK); },
                         "Back and Next on the language page")) {
        if (driver.ComboSelection(IDC_LANGUAGE_LIST) != 0)
            driver.Fail("the language page does not open on its first row (English)");
        Leave(driver, IDD_LANGUAGE, ready, SHEET_NEXT);
    }

    if (Arrive(driver, IDD_SETTINGS_SOURCE)) {
        driver.Click(IDC_COPY_SETTINGS);
        driver.Click(IDC_COPY_PLUGINS);
        std::string shown = driver.Text(IDC_MAIN_INI_EDIT);
        if (!choices.FoundSettingsFile.empty() && shown != choices.FoundSettingsFile)
            driver.Fail("the settings page shows \"" + shown + "\" instead of the desktop settings file \"" +
                        choices.FoundSettingsFile + "\"");
        Leave(driver, IDD_SETTINGS_SOURCE, ready, SHEET_NEXT);
    }

    if (Arrive(driver, IDD_PLUGINS)) {
        for (const std::string &plugin : choices.Plugins)
            driver.CheckRowNamed(IDC_PLUGIN_LIST, plugin);
        Leave(driver, IDD_PLUGINS, ready, SHEET_NEXT);
    }

    if (Arrive(driver, IDD_SETTINGS_FILES)) {
        for (const std::string &file : choices.SettingsFiles)
            driver.CheckRowNamed(IDC_SETTINGS_FILE_LIST, file);
        Leave(driver, IDD_SETTINGS_FILES, ready, SHEET_NEXT);
    }

    if (Arrive(driver, IDD_SUMMARY) &&
        driver.WaitUntil([&] { return driver.ButtonUsable(SHEET_NEXT); }, "Next on the summary page"))
        Leave(driver, IDD_SUMMARY, ready, SHEET_NEXT);
    return driver.Ok();
}

bool FinishInstallation(InstallerDriver &driver, const PageReady &ready)
{
    if (Arrive(driver, IDD_PROGRESS) &&
        driver.WaitUntil([&] { return driver.ButtonUsable(SHEET_FINISH); }, "the installation run to end",
                         RUN_HANG_GUARD_MS)) {
        std::string outcome = driver.Text(IDC_FIRST_PLAIN_LABEL);
        if (outcome != "Installation complete!")
            driver.Fail("the progress page reports \"" + outcome + "\"");
        Leave(driver, IDD_PROGRESS, ready, SHEET_FINISH);
    }
    return driver.Ok();
}

bool DriveTypicalRun(InstallerDriver &driver, const TypicalChoices &choices, const PageReady &ready)
{
    return DriveToInstallation(driver, choices, ready) && FinishInstallation(driver, ready);
}
