// The Windows side of scripts/demo. It starts the programs as the U3 platform would (with the
// environment it was given) and, for the headless demo, works the wizard from outside.
//
//   demo_drive open INSTALLER                      the wizard for the user; waits until it closes
//   demo_drive typical INSTALLER DESKTOP SHOTS     the typical run, a screenshot of every page
//   demo_drive close PEER CLOSER LOGS              two fake main windows, then the closer
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource.h"
#include "support/process.h"
#include "support/unix_side.h"
#include "tree_snapshot.h"
#include "typical_run.h"

namespace {

const DWORD USER_WAIT_MS = 3600 * 1000;

struct PageShot {
    int TemplateId;
    const char *FileName;
};

const PageShot PAGE_SHOTS[] = {
    {IDD_WELCOME, "1-welcome.png"},        {IDD_LANGUAGE, "2-language.png"},
    {IDD_SETTINGS_SOURCE, "3-settings.png"}, {IDD_PLUGINS, "4-plugins.png"},
    {IDD_SETTINGS_FILES, "5-settings-files.png"}, {IDD_SUMMARY, "6-summary.png"},
    {IDD_PROGRESS, "7-progress.png"},
};

int Usage()
{
    fprintf(stderr, "usage: demo_drive open INSTALLER | typical INSTALLER DESKTOP SHOTS | close PEER CLOSER LOGS\n");
    return 2;
}

int Open(const std::string &installer)
{
    InstallerDriver driver;
    if (!driver.Start(installer, {})) {
        fprintf(stderr, "%s\n", driver.Failure().c_str());
        return 1;
    }
    DWORD code = 99;
    if (!driver.WaitForExit(&code, USER_WAIT_MS)) {
        fprintf(stderr, "%s\n", driver.Failure().c_str());
        return 1;
    }
    printf("stickinstall.exe ended with exit code %lu\n", static_cast<unsigned long>(code));
    return 0;
}

// What the screen shows, through ImageMagick on the X display the wizard is on.
bool SaveScreen(InstallerDriver &driver, const std::string &path)
{
    RedrawWindow(driver.Sheet(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(driver.Sheet(), WM_NULL, 0, 0, SMTO_NORMAL, QUICK_WAIT_MS, &ignored);
    Sleep(300);  // painting follows the queue; give it a moment before the picture is taken
    DeleteFileA(path.c_str());
    std::string unixPath = UnixPathOf(path.c_str());
    return !unixPath.empty() && RunUnixCommand("import -window root '" + unixPath + "'") &&
           GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Typical(const std::string &installer, const std::string &desktop, const std::string &shots)
{
    CreateDirectoryA(shots.c_str(), NULL);
    TypicalChoices choices;
    choices.FoundSettingsFile = desktop + "\\vtmain.ini";
    choices.Plugins = {"Packer: 7z", "Lister: 0: imgview"};
    choices.SettingsFiles = {"imgview.ini"};

    InstallerDriver driver;
    driver.Start(installer, {});
    int saved = 0;
    bool driven = DriveTypicalRun(driver, choices, [&](int templateId) {
        for (const PageShot &shot : PAGE_SHOTS) {
            if (shot.TemplateId != templateId)
                continue;
            std::string path = shots + "\\" + shot.FileName;
            if (SaveScreen(driver, path)) {
                ++saved;
                printf("  page %d: %s\n", templateId, shot.FileName);
            } else {
                driver.Fail("cannot save the screenshot " + path);
            }
        }
        fflush(stdout);
    });
    DWORD code = 99;
    if (!driven || !driver.WaitForExit(&code)) {
        fprintf(stderr, "the typical run failed: %s\n", driver.Failure().c_str());
        return 1;
    }
    printf("stickinstall.exe ended with exit code %lu after %d pages\n", static_cast<unsigned long>(code), saved);
    return code == 0 && saved == 7 ? 0 : 1;
}

int Close(const std::string &, const std::string &, const std::string &)
{
    fprintf(stderr, "the closer demo needs the closer and its fake main window\n");
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    setvbuf(stdout, NULL, _IONBF, 0);
    if (args.size() == 2 && args[0] == "open")
        return Open(args[1]);
    if (args.size() == 4 && args[0] == "typical")
        return Typical(args[1], args[2], args[3]);
    if (args.size() == 4 && args[0] == "close")
        return Close(args[1], args[2], args[3]);
    return Usage();
}
