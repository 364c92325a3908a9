// Names beyond ASCII on the device, in whole runs under the ANSI code page the locale gives
// (VELTRANO_CODE_PAGE: 1252 under LC_ALL=de_DE.UTF-8, 932 under LC_ALL=ja_JP.UTF-8), with the
// names on disk in that code page. The file system folds the case of every letter, not only A to
// Z; in code page 932 a trail byte may be 0x5C, the byte of a backslash.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/file_name_compare.h"
#include "hostile/hostile_fixture.h"
#include "support/files.h"
#include "support/hang_guard.h"
#include "support/temp_directory.h"
#include "support/unix_side.h"

using namespace engine_fixture;

namespace hostile {
namespace {

// Code page 1252: E acute, capital and small; AE; Y with diaeresis, capital and small; sharp s.
#define E_ACUTE_CAPITAL "\xC9"
#define E_ACUTE_SMALL "\xE9"
#define AE_CAPITAL "\xC6"
#define AE_SMALL "\xE6"
#define Y_DIAERESIS_CAPITAL "\x9F"
#define Y_DIAERESIS_SMALL "\xFF"
#define SHARP_S "\xDF"
// Code page 932: full-width A, capital and small; Greek alpha, capital and small; katakana a, full
// and half width; the kanji hyou and the katakana so, whose trail bytes are 0x5C.
#define FULL_WIDTH_A_CAPITAL "\x82\x60"
#define FULL_WIDTH_A_SMALL "\x82\x81"
#define ALPHA_CAPITAL "\x83\x9F"
#define ALPHA_SMALL "\x83\xBF"
#define KATAKANA_A "\x83\x41"
#define HALF_WIDTH_KATAKANA_A "\xB1"
#define KANJI_HYOU "\x95\x5C"
#define KATAKANA_SO "\x83\x5C"

const unsigned CODE_PAGE = VELTRANO_CODE_PAGE;

TEST(CodePageNames, ProcessRunsInTheLocalesCodePage)
{
    ASSERT_EQ(CODE_PAGE, GetACP()) << "the test environment must give code page " << CODE_PAGE;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// The installer's comparison of device names takes two names for one exactly when the file system
// does: a directory made under the one name is found under the other.
TEST(CodePageNames, CompareAsTheFileSystemDoes)
{
    ASSERT_EQ(CODE_PAGE, GetACP());
    struct NamePair {
        unsigned CodePage;
        const char *A, *B;
        bool Same;
    };
    const NamePair pairs[] = {
        {1252, "Arc", "aRC", true},
        {1252, E_ACUTE_CAPITAL "lan", E_ACUTE_SMALL "LAN", true},
        {1252, AE_CAPITAL "gir", AE_SMALL "gir", true},
        {1252, Y_DIAERESIS_CAPITAL, Y_DIAERESIS_SMALL, true},
        {1252, E_ACUTE_SMALL "lan", "elan", false},
        {1252, "stra" SHARP_S "e", "STRASSE", false},
        {932, "Arc", "aRC", true},
        {932, FULL_WIDTH_A_CAPITAL "rc", FULL_WIDTH_A_SMALL "RC", true},
        {932, ALPHA_CAPITAL, ALPHA_SMALL, true},
        {932, KANJI_HYOU "a", KANJI_HYOU "A", true},
        {932, FULL_WIDTH_A_CAPITAL, "A", false},
        {932, HALF_WIDTH_KATAKANA_A, KATAKANA_A, false},
        {932, KANJI_HYOU, KATAKANA_SO, false},
    };
    std::string dir = FreshTempDirectory("code_page_names");
    ASSERT_FALSE(dir.empty());
    for (const NamePair &pair : pairs) {
        if (pair.CodePage != CODE_PAGE)
            continue;
        SCOPED_TRACE(testing::Message() << "pair " << (&pair - pairs));
        std::string made = dir + "\\" + pair.A;
        ASSERT_TRUE(CreateDirectoryA(made.c_str(), NULL));
        bool found = GetFileAttributesA((dir + "\\" + pair.B).c_str()) != INVALID_FILE_ATTRIBUTES;
        RemoveDirectoryA(made.c_str());
        EXPECT_EQ(pair.Same, found) << "the file system";
        EXPECT_EQ(pair.Same, SameFileName(pair.A, pair.B) != FALSE);
        EXPECT_EQ(Sign(CompareFileNames(pair.A, pair.B)), -Sign(CompareFileNames(pair.B, pair.A)));
    }
    RemoveTree(dir);
}

// Two checked plugins in different desktop directories whose file names differ only in the case
// of a letter beyond A to Z: the second gets a device folder of its own, on the first run and
// again on a second run onto the same device that checks it alone.
struct CaseVariantCase {
    unsigned CodePage;
    const char *Name;
    const char *Capital, *Small;  // base names of the two plugin files
};

void PrintTo(const CaseVariantCase &c, std::ostream *out)
{
    *out << c.Name;
}

// A case of another code page is skipped; Capital and Small are the case's two spellings.
class CaseVariantTest : public HostileTest, public testing::WithParamInterface<CaseVariantCase> {
protected:
    std::string Capital, Small;

    void SetUp() override
    {
        HostileTest::SetUp();
        if (GetParam().CodePage != CODE_PAGE)
            GTEST_SKIP() << "a case of code page " << GetParam().CodePage;
        ASSERT_EQ(CODE_PAGE, GetACP());
        Capital = GetParam().Capital;
        Small = GetParam().Small;
    }
};

const CaseVariantCase CASE_VARIANTS[] = {
    {1252, "EAcute", E_ACUTE_CAPITAL "lan", E_ACUTE_SMALL "lan"},
    {932, "FullWidthA", FULL_WIDTH_A_CAPITAL "rc", FULL_WIDTH_A_SMALL "rc"},
};

std::string CaseVariantName(const testing::TestParamInfo<CaseVariantCase> &info)
{
    return info.param.Name;
}

class CaseBeyondAToZ : public CaseVariantTest {};

TEST_P(CaseBeyondAToZ, GivesEachPluginAFolderOfItsOwn)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                      "capital=21,%VELTRANO_PATH%\\plugins\\one\\" + Capital + ".vpx\r\n"
                      "small=21,%VELTRANO_PATH%\\plugins\\two\\" + Small + ".vpx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\one\\" + Capital + ".vpx", "the capital one"));
    desktop.Files.push_back(PluginFile("plugins\\two\\" + Small + ".vpx", "the small one"));
    Prepare(desktop);
    const std::string capitalValue = "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\" + Capital + "\\" + Capital + ".vpx";
    const std::string smallValue = "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\" + Small + "_2\\" + Small + ".vpx";
    std::string portable = Device + "\\vtmain.ini";

    RunOutcome first = RunWizard(RunChoices());
    ASSERT_TRUE(first.Finished);
    EXPECT_EQ("Installation complete!", first.OutcomeText);
    EXPECT_TRUE(first.Boxes.empty());
    EXPECT_EQ(capitalValue, ProfileValue(portable, "PackerPlugins", "capital"));
    EXPECT_EQ(smallValue, ProfileValue(portable, "PackerPlugins", "small"));

    RunChoices choices;
    choices.OnPluginPage = [](WizardDriver &wizard, HWND list) {
        std::vector<ListedPluginRow> rows = ReadPluginRows(list);
        for (size_t row = 0; row < rows.size(); ++row)
            wizard.SetRowChecked(list, static_cast<int>(row), rows[row].Label == "Packer: small");
    };
    RunOutcome second = RunWizardAgain(choices);
    ASSERT_TRUE(second.Finished);
    EXPECT_TRUE(second.Boxes.empty());
    EXPECT_EQ(smallValue, ProfileValue(portable, "PackerPlugins", "small"));
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "capital"));
}

INSTANTIATE_TEST_SUITE_P(HostileTest, CaseBeyondAToZ, testing::ValuesIn(CASE_VARIANTS), CaseVariantName);

// Two registrations naming one desktop directory, spelled with a letter beyond A to Z in another
// case: one directory to the file system, so the checked total counts it once and both rows share
// one device folder.
class DirectoryInAnotherCase : public CaseVariantTest {};

TEST_P(DirectoryInAnotherCase, IsCountedAndCopiedOnce)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n"
                      "first=%VELTRANO_PATH%\\plugins\\" + Capital + "\\first.vpx\r\n"
                      "second=%VELTRANO_PATH%\\plugins\\" + Small + "\\second.vpx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\" + Capital + "\\first.vpx", std::string(3000, 'f')));
    desktop.Files.push_back(PluginFile("plugins\\" + Capital + "\\second.vpx", std::string(2000, 's')));
    Prepare(desktop);

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ("5k", run.PluginRows[1].Size);
    EXPECT_EQ("5k", run.CheckedTotal) << "one directory, counted once";
    EXPECT_EQ(run.PluginRows[0].CopiedTo, run.PluginRows[1].CopiedTo);
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vpx\\first\\first.vpx", ProfileValue(portable, "PackerPlugins", "first"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vpx\\first\\second.vpx", ProfileValue(portable, "PackerPlugins", "second"));
    EXPECT_FALSE(PathExists(Device + "\\Plugins\\vpx\\second")) << "the directory was copied twice";
}

INSTANTIATE_TEST_SUITE_P(HostileTest, DirectoryInAnotherCase, testing::ValuesIn(CASE_VARIANTS), CaseVariantName);

// A directory link in a plugin directory whose name ends in a trail byte 0x5C leads beside the
// walked path, not back into it: the size counts what it holds and the copy takes it along.
TEST_F(HostileTest, LinkWhoseNameEndsInTheByteOfABackslashIsFollowed)
{
    if (CODE_PAGE != 932)
        GTEST_SKIP() << "trail bytes of 0x5C are a double-byte code page's";
    ASSERT_EQ(CODE_PAGE, GetACP());
    DesktopDescription desktop = StandardDesktop(STANDARD_INI);
    desktop.Files.push_back(PluginFile("plugins\\shared\\data.bin", std::string(3000, 'd')));
    Prepare(desktop);
    std::string arc = Files.DesktopDir + "\\plugins\\arc";
    // Made on the Linux side under the name's UTF-8 bytes (U+8868), as Wine reads it back in code
    // page 932: a link renamed from this side would be followed, not renamed.
    ASSERT_TRUE(RunUnixCommand("cd '" + UnixPathOf(arc.c_str()) + "' && ln -s ../shared $(printf '\\350\\241\\250')"))
        << "could not create the link";
    DWORD attributes = GetFileAttributesA((arc + "\\" KANJI_HYOU).c_str());
    ASSERT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
        << "no directory link named " KANJI_HYOU;
    TakeChecksums();

    RunOutcome run;
    RunBounded("the run over the link", RUN_HANG_GUARD_MS, [&] { run = RunWizard(RunChoices()); });
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ("3k", run.PluginRows[0].Size) << "arc.vpx, doc\\readme.txt and the link's data.bin";
    std::string copied;
    EXPECT_TRUE(ReadFileBytes(Device + "\\Plugins\\vpx\\arc\\" KANJI_HYOU "\\data.bin", &copied));
    EXPECT_EQ(std::string(3000, 'd'), copied);
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
              ProfileValue(Device + "\\vtmain.ini", "PackerPlugins", "arc"));
}

}  // namespace
}  // namespace hostile
