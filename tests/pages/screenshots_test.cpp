// Saves a picture of each of the seven pages, as a user sees it, into build/<arch>/screenshots.
#include <windows.h>

#include <string>

#include "base/install_state.h"
#include "resources/resource.h"
#include "support/install_state_fixture.h"
#include "support/process.h"
#include "support/screenshot.h"
#include "wizard_fixture.h"

namespace {

std::string ScreenshotDir()
{
    // Tests run from build/<arch>/bin; each build keeps its own pictures.
    std::string dir = ProgramBesideTest("..\\screenshots");
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

void Save(WizardDriver &wizard, const std::string &dir, int page)
{
    ASSERT_EQ(wizard.CurrentTemplate(), page);
    RedrawWindow(wizard.Sheet(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wizard.Settle();
    std::string path = dir + "\\page_" + std::to_string(page) + ".png";
    DeleteFileA(path.c_str());
    EXPECT_TRUE(SaveWindowPng(wizard.Sheet(), path)) << path;
    WIN32_FILE_ATTRIBUTE_DATA saved = {};
    EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &saved) && saved.nFileSizeLow > 1000)
        << path;
}

}  // namespace

class Screenshots : public WizardTest {};

TEST_F(Screenshots, EachPageIsSavedAsPng)
{
    PointInstallStateAt(Settings().Dir, "");
    StandIn.Mode = STAND_IN_HOLD;
    std::string dir = ScreenshotDir();
    RunDrivenWizard([&](WizardDriver &wizard) {
        Save(wizard, dir, IDD_WELCOME);
        wizard.Next();
        Save(wizard, dir, IDD_LANGUAGE);
        wizard.Next();
        wizard.Click(IDC_COPY_SETTINGS);
        wizard.Click(IDC_COPY_PLUGINS);
        Save(wizard, dir, IDD_SETTINGS_SOURCE);
        wizard.Next();
        Save(wizard, dir, IDD_PLUGINS);
        wizard.Next();
        Save(wizard, dir, IDD_SETTINGS_FILES);
        wizard.Next();
        Save(wizard, dir, IDD_SUMMARY);
        wizard.Next();
        ASSERT_TRUE(wizard.WaitUntil([] { return InstallState.Installing == 1; }, "the run to start"));
        Save(wizard, dir, IDD_PROGRESS);
        StandIn.Release = true;
        ASSERT_TRUE(wizard.WaitUntil([] { return InstallState.Installing == 0; }, "the run to end"));
        wizard.Settle();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PROGRESS);
        RedrawWindow(wizard.Sheet(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        wizard.Settle();
        EXPECT_TRUE(SaveWindowPng(wizard.Sheet(), dir + "\\page_110_finished.png"));
    });
}
