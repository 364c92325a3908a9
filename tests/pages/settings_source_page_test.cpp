// The settings source page: its first state, the two boxes, the file check and the browse dialog.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <string>

#include "base/install_state.h"
#include "files/file_exists.h"
#include "resources/resource.h"
#include "support/install_state_fixture.h"
#include "wizard_fixture.h"

namespace {

const int DEPENDENT_CONTROLS[] = {IDC_MAIN_INI_EDIT, IDC_BROWSE_MAIN_INI, IDC_FTP_INI_EDIT, IDC_BROWSE_FTP_INI,
                                  IDC_GENERAL_LABEL, IDC_FTP_LABEL,       IDC_COPY_PLUGINS};

const char NOT_FOUND[] = "Specified settings file not found!";

// The paths start-up found, before the page is created.
void SetDiscoveredPaths()
{
    PointInstallStateAt(Settings().Dir, "");
}

// A missing path of exactly 259 characters inside the settings folder.
std::string LongMissingPath()
{
    std::string path = Settings().Dir + "\\";
    path += std::string(259 - path.size() - 4, 'x') + ".ini";
    return path;
}

}  // namespace

class SettingsSourcePage : public WizardTest {};

TEST_F(SettingsSourcePage, FirstVisitShowsTheDiscoveredPathsWithEverythingButTheBoxDisabled)
{
    SetDiscoveredPaths();
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        EXPECT_FALSE(wizard.Checked(IDC_COPY_SETTINGS));
        EXPECT_TRUE(wizard.Enabled(IDC_COPY_SETTINGS));
        for (int id : DEPENDENT_CONTROLS)
            EXPECT_FALSE(wizard.Enabled(id)) << "control " << id;
        EXPECT_FALSE(wizard.Checked(IDC_COPY_PLUGINS));
        EXPECT_EQ(wizard.Text(IDC_MAIN_INI_EDIT), Settings().MainIni);
        EXPECT_EQ(wizard.Text(IDC_FTP_INI_EDIT), Settings().FtpIni);
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_BACK));
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_NEXT));

        wizard.Click(IDC_COPY_SETTINGS);
        for (int id : DEPENDENT_CONTROLS)
            EXPECT_TRUE(wizard.Enabled(id)) << "control " << id << " after checking the box";
        wizard.Click(IDC_COPY_SETTINGS);
        for (int id : DEPENDENT_CONTROLS)
            EXPECT_FALSE(wizard.Enabled(id)) << "control " << id << " after clearing the box";
    });
}

namespace {

enum MainPath { MAIN_EXISTING, MAIN_EMPTY, MAIN_FOLDER, MAIN_MISSING, MAIN_LONG_MISSING };

std::string MainPathText(MainPath kind)
{
    switch (kind) {
    case MAIN_EXISTING: return Settings().OtherIni;
    case MAIN_EMPTY: return "";
    case MAIN_FOLDER: return Settings().SubDir;
    case MAIN_MISSING: return Settings().Missing;
    case MAIN_LONG_MISSING: return LongMissingPath();
    }
    return "";
}

struct NextCase {
    const char *Name;
    bool SettingsBox, PluginsBox;
    MainPath Main;
    const char *Ftp;  // NULL: the discovered FTP path
    int Landing;      // page after Next (103: stays, after the message)
    int CopySettings, CopyPlugins;
    bool PathsStored;  // the edit texts replaced the stored paths
};

const NextCase NEXT_CASES[] = {
    {"box 1001 clear", false, false, MAIN_EXISTING, "C:\\edited\\ftp.ini", IDD_SUMMARY, 0, 0, false},
    {"box 1001 clear, missing file", false, false, MAIN_MISSING, NULL, IDD_SUMMARY, 0, 0, false},
    {"settings, no plugins", true, false, MAIN_EXISTING, NULL, IDD_SUMMARY, 1, 0, true},
    {"settings and plugins", true, true, MAIN_EXISTING, NULL, IDD_PLUGINS, 1, 1, true},
    {"FTP file missing", true, true, MAIN_EXISTING, "C:\\nowhere\\vpx_ftp.ini", IDD_PLUGINS, 1, 1, true},
    {"empty FTP path", true, false, MAIN_EXISTING, "", IDD_SUMMARY, 1, 0, true},
    {"main path empty", true, false, MAIN_EMPTY, NULL, IDD_SETTINGS_SOURCE, 1, 0, true},
    {"main path a folder", true, true, MAIN_FOLDER, NULL, IDD_SETTINGS_SOURCE, 1, 1, true},
    {"main file missing", true, false, MAIN_MISSING, NULL, IDD_SETTINGS_SOURCE, 1, 0, true},
    {"main path of 259 characters", true, false, MAIN_LONG_MISSING, "", IDD_SETTINGS_SOURCE, 1, 0, true},
};

}  // namespace

TEST_F(SettingsSourcePage, NextStoresTheChoicesAndSteersTheWizard)
{
    for (const NextCase &next : NEXT_CASES) {
        ResetInstallState();
        SetDiscoveredPaths();
        std::string main = MainPathText(next.Main);
        std::string ftp = next.Ftp ? next.Ftp : Settings().FtpIni;
        RunDrivenWizard([&](WizardDriver &wizard) {
            GoToSettingsSource(wizard);
            ChooseSources(wizard, next.SettingsBox, next.PluginsBox, main);
            wizard.SetText(IDC_FTP_INI_EDIT, ftp);
            wizard.PostPress(BUTTON_NEXT);
            if (next.Landing == IDD_SETTINGS_SOURCE) {
                DialogSeen box = wizard.WaitForMessageBox(main);
                ASSERT_TRUE(box.Window != NULL) << next.Name;
                EXPECT_EQ(box.Text, NOT_FOUND) << next.Name;
                // Owned by the page: the wizard is disabled while the box is up.
                EXPECT_EQ(GetWindow(box.Window, GW_OWNER), wizard.Sheet()) << next.Name;
                EXPECT_FALSE(IsWindowEnabled(wizard.Sheet())) << next.Name;
                HICON information = LoadIconA(NULL, IDI_INFORMATION);
                EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageA(box.Window, 0x0440, STM_GETICON, 0, 0)),
                          information)
                    << next.Name << ": the information icon";
                EXPECT_TRUE(GetDlgItem(box.Window, IDOK) != NULL) << next.Name;
                EXPECT_TRUE(GetDlgItem(box.Window, IDCANCEL) == NULL ||
                            !IsWindowVisible(GetDlgItem(box.Window, IDCANCEL)))
                    << next.Name << ": OK only";
                wizard.Answer(box, IDOK);
            } else {
                wizard.Settle();
                EXPECT_TRUE(wizard.OpenDialogs().empty()) << next.Name << ": no message";
            }
            EXPECT_EQ(wizard.CurrentTemplate(), next.Landing) << next.Name;
            EXPECT_EQ(InstallState.CopySettings, next.CopySettings) << next.Name;
            EXPECT_EQ(InstallState.CopyPlugins, next.CopyPlugins) << next.Name;
            EXPECT_EQ(InstallState.SourceIniPath, next.PathsStored ? main : Settings().MainIni) << next.Name;
            EXPECT_EQ(InstallState.SourceFtpIniPath, next.PathsStored ? ftp : Settings().FtpIni) << next.Name;
        });
    }
}

TEST_F(SettingsSourcePage, PluginBoxStaysCheckedWhileDisabledAndCountsForNothing)
{
    SetDiscoveredPaths();
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        wizard.Click(IDC_COPY_SETTINGS);
        wizard.Click(IDC_COPY_PLUGINS);
        wizard.Click(IDC_COPY_SETTINGS);
        EXPECT_TRUE(wizard.Checked(IDC_COPY_PLUGINS));
        EXPECT_FALSE(wizard.Enabled(IDC_COPY_PLUGINS));
        wizard.Next();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        EXPECT_EQ(InstallState.CopyPlugins, 0);

        wizard.Back();
        EXPECT_TRUE(wizard.Checked(IDC_COPY_PLUGINS)) << "kept over Back and Next";
        wizard.Click(IDC_COPY_SETTINGS);
        EXPECT_TRUE(wizard.Enabled(IDC_COPY_PLUGINS));
        wizard.Next();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        EXPECT_EQ(InstallState.CopyPlugins, 1);
    });
}

TEST_F(SettingsSourcePage, PathsKeepTheirLastStoredValuesWhileTheBoxIsClear)
{
    SetDiscoveredPaths();
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        ChooseSources(wizard, true, false, Settings().OtherIni);
        wizard.SetText(IDC_FTP_INI_EDIT, "C:\\first\\ftp.ini");
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);

        wizard.Back();
        EXPECT_EQ(wizard.Text(IDC_MAIN_INI_EDIT), Settings().OtherIni) << "the page keeps its texts";
        wizard.Click(IDC_COPY_SETTINGS);
        wizard.SetText(IDC_MAIN_INI_EDIT, "C:\\second\\vtmain.ini");
        wizard.SetText(IDC_FTP_INI_EDIT, "C:\\second\\ftp.ini");
        wizard.Next();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        EXPECT_EQ(InstallState.CopySettings, 0);
        EXPECT_EQ(InstallState.SourceIniPath, Settings().OtherIni);
        EXPECT_STREQ(InstallState.SourceFtpIniPath, "C:\\first\\ftp.ini");
    });
}

TEST_F(SettingsSourcePage, AfterTheMessageTheUserCanCorrectThePath)
{
    SetDiscoveredPaths();
    RunDrivenWizard([](WizardDriver &wizard) {
        GoToSettingsSource(wizard);
        ChooseSources(wizard, true, true, Settings().Missing);
        wizard.PostPress(BUTTON_NEXT);
        wizard.Answer(wizard.WaitForMessageBox(Settings().Missing), IDOK);
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
        EXPECT_TRUE(IsWindowEnabled(wizard.Sheet()));
        EXPECT_TRUE(wizard.ButtonUsable(BUTTON_NEXT));
        wizard.SetText(IDC_MAIN_INI_EDIT, Settings().MainIni);
        wizard.Next();
        EXPECT_EQ(wizard.CurrentTemplate(), IDD_PLUGINS);
        EXPECT_EQ(InstallState.SourceIniPath, Settings().MainIni);
    });
}

namespace {

// The file name box of the open-file dialog.
HWND FileNameBox(HWND dialog)
{
    HWND box = GetDlgItem(dialog, cmb13);
    return box ? box : GetDlgItem(dialog, edt1);
}

std::string SelectedFileType(HWND dialog)
{
    HWND types = GetDlgItem(dialog, cmb1);
    char text[64] = "";
    SendMessageA(types, CB_GETLBTEXT, SendMessageA(types, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    return text;
}

struct BrowseCase {
    const char *Name;
    int Button, Edit;
    bool Pick;  // type a file and press Open, else Cancel
};

const BrowseCase BROWSE_CASES[] = {
    {"main, picked", IDC_BROWSE_MAIN_INI, IDC_MAIN_INI_EDIT, true},
    {"main, cancelled", IDC_BROWSE_MAIN_INI, IDC_MAIN_INI_EDIT, false},
    {"FTP, picked", IDC_BROWSE_FTP_INI, IDC_FTP_INI_EDIT, true},
    {"FTP, cancelled", IDC_BROWSE_FTP_INI, IDC_FTP_INI_EDIT, false},
};

}  // namespace

TEST_F(SettingsSourcePage, BrowseButtonsAskThroughTheOpenFileDialog)
{
    for (const BrowseCase &browse : BROWSE_CASES) {
        ResetInstallState();
        SetDiscoveredPaths();
        RunDrivenWizard([&](WizardDriver &wizard) {
            GoToSettingsSource(wizard);
            wizard.Click(IDC_COPY_SETTINGS);
            std::string before = wizard.Text(browse.Edit);
            wizard.Click(browse.Button);
            DialogSeen dialog = wizard.WaitForDialog("Open original settings file");
            ASSERT_TRUE(dialog.Window != NULL) << browse.Name;
            // No owner: the wizard stays enabled.
            EXPECT_TRUE(GetWindow(dialog.Window, GW_OWNER) == NULL) << browse.Name;
            EXPECT_TRUE(IsWindowEnabled(wizard.Sheet())) << browse.Name;
            EXPECT_EQ(SelectedFileType(dialog.Window), "ini files") << browse.Name;
            HWND fileName = FileNameBox(dialog.Window);
            ASSERT_TRUE(fileName != NULL) << browse.Name << ": the file name box";
            // Pre-filled from the edit box (the dialog may show the name part alone).
            std::string prefill = wizard.TextOf(fileName);
            EXPECT_FALSE(prefill.empty()) << browse.Name;
            EXPECT_TRUE(before.size() >= prefill.size() &&
                        before.compare(before.size() - prefill.size(), prefill.size(), prefill) == 0)
                << browse.Name << ": \"" << prefill << "\" from \"" << before << "\"";
            if (browse.Pick) {
                SendMessageA(fileName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Settings().OtherIni.c_str()));
                wizard.Answer(dialog, IDOK);
                EXPECT_EQ(wizard.Text(browse.Edit), Settings().OtherIni) << browse.Name;
            } else {
                SendMessageA(fileName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Settings().OtherIni.c_str()));
                wizard.Answer(dialog, IDCANCEL);
                EXPECT_EQ(wizard.Text(browse.Edit), before) << browse.Name;
            }
            EXPECT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE) << browse.Name;
        });
    }
}

TEST(FileExistsCheck, FilesPassFoldersAndMissingPathsDoNot)
{
    struct {
        std::string Path;
        BOOL Exists;
    } cases[] = {
        {Settings().MainIni, TRUE},
        {Settings().SubDir, FALSE},
        {Settings().Missing, FALSE},
        {"", FALSE},
        {Settings().Dir, FALSE},
        {Settings().Dir + "\\vtm*.ini", TRUE},  // a search pattern whose first match is a file
        {Settings().Dir + "\\folder.in?", FALSE},
    };
    for (const auto &check : cases)
        EXPECT_EQ(FileExists(check.Path.c_str()), check.Exists) << "\"" << check.Path << "\"";
}
