// The wizard's page order, jumps and button states, with and without settings and plugins.
#include <vector>

#include "base/install_state.h"
#include "resources/resource.h"
#include "wizard_fixture.h"

namespace {

struct FlowCase {
    const char *Name;
    bool CopySettingsBox;
    bool CopyPluginsBox;  // left checked when the settings box is cleared again
    std::vector<int> Forward;  // from the welcome page to the summary
    int CopySettings, CopyPlugins;
};

const FlowCase FLOW_CASES[] = {
    {"nothing", false, false, {101, 102, 103, 109}, 0, 0},
    {"plugins box left checked, settings cleared", false, true, {101, 102, 103, 109}, 0, 0},
    {"settings only", true, false, {101, 102, 103, 109}, 1, 0},
    {"settings and plugins", true, true, {101, 102, 103, 104, 105, 109}, 1, 1},
};

// Only the welcome page lacks Back; pages 102 to 109 show Back and Next.
void ExpectButtonsOf(WizardDriver &wizard, int page, const char *name)
{
    EXPECT_EQ(wizard.ButtonUsable(BUTTON_BACK), page != IDD_WELCOME) << name << ", page " << page;
    EXPECT_TRUE(wizard.ButtonUsable(BUTTON_NEXT)) << name << ", page " << page;
    EXPECT_FALSE(wizard.ButtonUsable(BUTTON_FINISH)) << name << ", page " << page;
    EXPECT_TRUE(wizard.ButtonUsable(BUTTON_CANCEL)) << name << ", page " << page;
}

}  // namespace

class PageFlow : public WizardTest {};

TEST_F(PageFlow, ForwardAndBackFollowTheTableAndEndWithFinish)
{
    for (const FlowCase &flow : FLOW_CASES) {
        ResetInstallState();
        ResetStandIn();
        RunDrivenWizard([&](WizardDriver &wizard) {
            for (size_t step = 0; step < flow.Forward.size(); ++step) {
                int page = flow.Forward[step];
                ASSERT_EQ(wizard.CurrentTemplate(), page) << flow.Name << ", forward step " << step;
                ExpectButtonsOf(wizard, page, flow.Name);
                if (page == IDD_SETTINGS_SOURCE)
                    ChooseSources(wizard, flow.CopySettingsBox, flow.CopyPluginsBox, Settings().MainIni);
                if (page != IDD_SUMMARY)
                    wizard.Next();
            }
            EXPECT_EQ(InstallState.CopySettings, flow.CopySettings) << flow.Name;
            EXPECT_EQ(InstallState.CopyPlugins, flow.CopyPlugins) << flow.Name;
            bool plugins = flow.CopyPlugins != 0;
            EXPECT_EQ(wizard.PageOf(IDD_PLUGINS) != NULL, plugins) << flow.Name << ": plugin page created";
            EXPECT_EQ(wizard.PageOf(IDD_SETTINGS_FILES) != NULL, plugins) << flow.Name << ": settings-files page";

            for (size_t step = flow.Forward.size() - 1; step > 0; --step) {
                wizard.Back();
                int page = flow.Forward[step - 1];
                ASSERT_EQ(wizard.CurrentTemplate(), page) << flow.Name << ", back to step " << step - 1;
                ExpectButtonsOf(wizard, page, flow.Name);
            }

            // Forward again, the page states kept, and on into the run.
            for (size_t step = 1; step < flow.Forward.size(); ++step)
                wizard.Next();
            ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY) << flow.Name;
            wizard.Next();
            ASSERT_TRUE(wizard.WaitUntil([] { return StandIn.Calls == 1 && InstallState.Installing == 0; },
                                         "the run to end"));
            wizard.Settle();
            EXPECT_EQ(wizard.CurrentTemplate(), IDD_PROGRESS) << flow.Name;
            EXPECT_FALSE(wizard.ButtonUsable(BUTTON_BACK)) << flow.Name;
            EXPECT_FALSE(wizard.ButtonUsable(BUTTON_NEXT)) << flow.Name;
            EXPECT_TRUE(wizard.ButtonUsable(BUTTON_FINISH)) << flow.Name;
            EXPECT_EQ(wizard.PageOf(IDD_PLUGINS) != NULL, plugins) << flow.Name << ": plugin page at the end";
            wizard.Finish();
            EXPECT_TRUE(wizard.WaitForClose()) << flow.Name;
        });
    }
}

TEST_F(PageFlow, WelcomePageCarriesTheTitleFont)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_WELCOME);
        EXPECT_EQ(wizard.Text(IDC_WELCOME_TITLE), "Veltrano");
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(wizard.Control(IDC_WELCOME_TITLE), WM_GETFONT, 0, 0));
        ASSERT_TRUE(InstallState.TitleFont != NULL);
        EXPECT_EQ(font, InstallState.TitleFont);
        LOGFONTA shape = {};
        ASSERT_NE(GetObjectA(font, sizeof(shape), &shape), 0);
        EXPECT_EQ(shape.lfHeight, 30);
        EXPECT_EQ(shape.lfWeight, FW_BOLD);
        EXPECT_STREQ(shape.lfFaceName, "Arial");
    });
    // Deleting it is the entry's job, after the wizard.
    EXPECT_NE(GetObjectType(InstallState.TitleFont), 0u);
    DeleteObject(InstallState.TitleFont);
}

TEST_F(PageFlow, LanguageChoiceIsWrittenOnNextOnly)
{
    InstallState.LanguageIndex = 5;  // not a value the page would write on its own
    RunDrivenWizard([](WizardDriver &wizard) {
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_LANGUAGE);
        EXPECT_EQ(wizard.ComboSelection(IDC_LANGUAGE_LIST), 0);
        EXPECT_EQ(wizard.Text(IDC_LANGUAGE_LIST), "English");

        wizard.Back();
        EXPECT_EQ(InstallState.LanguageIndex, 5) << "Back on the language page writes nothing";

        wizard.Next();
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
        EXPECT_EQ(InstallState.LanguageIndex, 0) << "Next with the list untouched stores English";

        wizard.Back();
        wizard.SelectComboRow(IDC_LANGUAGE_LIST, 8);
        wizard.Back();
        EXPECT_EQ(InstallState.LanguageIndex, 0) << "a choice left by Back is not stored";

        wizard.Next();
        EXPECT_EQ(wizard.ComboSelection(IDC_LANGUAGE_LIST), 8) << "the page keeps its selection";
        wizard.Next();
        EXPECT_EQ(InstallState.LanguageIndex, 8);
        wizard.Back();
        wizard.SelectComboRow(IDC_LANGUAGE_LIST, 14);
        wizard.Next();
        EXPECT_EQ(InstallState.LanguageIndex, 14) << "every Next replaces the choice";
    });
}

TEST_F(PageFlow, LanguageListHoldsTheFifteenAnsiNames)
{
    const char *const names[] = {
        "English", "Deutsch (German)", "Fran\xE7" "ais (French)", "Nederlands (Dutch)", "Dansk (Danish)",
        "Norsk (Norwegian)", "Italiano (Italian)", "Svenska (Swedish)", "Espa\xF1" "ol (Spanish)",
        "\xC8" "esk\xFD (Czech)", "Polski (Polish)", "Magyar (Hungarian)", "Slovensk\xFD (Slovak)",
        "Slovenski (Slovene)", "Korean"};
    RunDrivenWizard([&](WizardDriver &wizard) {
        wizard.Next();
        HWND list = wizard.Control(IDC_LANGUAGE_LIST);
        ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 15);
        for (int row = 0; row < 15; ++row) {
            char text[64] = "";
            SendMessageA(list, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, names[row]) << "row " << row;
        }
    });
}
