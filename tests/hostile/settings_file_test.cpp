// A desktop main settings file that is broken or far larger than any real one, through the
// plugin page fill and the whole run.
#include <windows.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "hostile/hostile_fixture.h"

using namespace engine_fixture;

namespace hostile {
namespace {

const std::vector<std::string> STANDARD_DEVICE_AFTER_RUN = {
    "Plugins\\",
    "Plugins\\vlx\\",
    "Plugins\\vlx\\imgview\\",
    "Plugins\\vlx\\imgview\\imgview.vlx",
    "Plugins\\vpx\\",
    "Plugins\\vpx\\arc\\",
    "Plugins\\vpx\\arc\\arc.vpx",
    "Plugins\\vpx\\arc\\doc\\",
    "Plugins\\vpx\\arc\\doc\\readme.txt",
    "extra1.ini",
    "extra2.ini",
    "vpx_ftp.ini",
    "vtmain.ini",
};

// The keys every portable file gets, read back through the profile interface.
void ExpectPortableKeys(const std::string &portable)
{
    EXPECT_EQ("%U3_APP_DATA_PATH%", ReadProfile(portable, "configuration", "TabDir"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins", ReadProfile(portable, "configuration", "pluginbasedir"));
    EXPECT_EQ("%U3_HOST_EXEC_PATH%\\treeinfo%D%.vt", ReadProfile(portable, "configuration", "TreeFileLocation"));
    EXPECT_EQ("%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng", ReadProfile(portable, "Configuration", "LanguageIni"));
}

class SettingsFile : public HostileTest {
};

// Garbage gives no plugin rows; the run copies it, writes the portable keys into the copy and
// completes; the extra settings files still go, without replacing the one already there.
struct GarbageCase {
    const char *Name;
    std::string Prefix;
};

void PrintTo(const GarbageCase &c, std::ostream *out)
{
    *out << c.Name;
}

class BinaryGarbage : public SettingsFile, public testing::WithParamInterface<GarbageCase> {};

TEST_P(BinaryGarbage, GivesNoPluginsAndTheRunCompletes)
{
    const GarbageCase &c = GetParam();
    Kept = StandardKeptFiles();
    std::string garbage = c.Prefix + RandomBytes(64 * 1024, 17);
    Prepare(StandardDesktop(garbage));
    RunOutcome run = RunWizard(RunChoices());
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    EXPECT_TRUE(run.PluginRows.empty()) << run.PluginRows.size() << " rows from garbage";
    EXPECT_TRUE(run.Boxes.empty());
    std::vector<std::string> expected = {"Plugins\\",
                                         "Plugins\\vpx\\",
                                         "Plugins\\vpx\\arc\\",
                                         "Plugins\\vpx\\arc\\arc.vpx",
                                         "Plugins\\vpx\\arc\\doc\\",
                                         "Plugins\\vpx\\arc\\doc\\readme.txt",
                                         "extra1.ini",
                                         "extra2.ini",
                                         "vpx_ftp.ini",
                                         "vtmain.ini"};
    EXPECT_EQ(expected, DeviceListing(Device));
    ExpectPortableKeys(Device + "\\vtmain.ini");
}

INSTANTIATE_TEST_SUITE_P(SettingsFile, BinaryGarbage,
                         testing::Values(GarbageCase{"RandomBytesWithNuls", ""},
                                         GarbageCase{"BehindAUtf16ByteOrderMark", "\xFF\xFE"},
                                         GarbageCase{"BehindAUtf8ByteOrderMark", "\xEF\xBB\xBF"}),
                         [](const testing::TestParamInfo<GarbageCase> &info) { return std::string(info.param.Name); });

// 10 MB of ordinary settings before the plugin sections: both plugins are found and carried over.
TEST_F(SettingsFile, TenMegabytesAreReadWhole)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[History]\r\n";
    for (int line = 0; ini.size() < 10 * 1024 * 1024; ++line) {
        char text[96];
        snprintf(text, sizeof(text), "h%07d=C:\\Users\\someone\\Documents\\projects\\file%07d.txt\r\n", line, line);
        ini += text;
    }
    std::string standard = STANDARD_INI;
    ini += standard.substr(standard.find("[PackerPlugins]"));
    ASSERT_GT(ini.size(), 10u * 1024 * 1024);
    Kept = StandardKeptFiles();
    Prepare(StandardDesktop(ini));
    RunOutcome run = RunWizard(RunChoices());
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ("Packer: arc", run.PluginRows[0].Label);
    EXPECT_EQ("Lister: 0: imgview", run.PluginRows[1].Label);
    EXPECT_EQ(STANDARD_DEVICE_AFTER_RUN, DeviceListing(Device));
    std::string portable = Device + "\\vtmain.ini";
    ExpectPortableKeys(portable);
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx", ReadProfile(portable, "PackerPlugins", "arc"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx", ReadProfile(portable, "ListerPlugins", "0"));
    EXPECT_EQ("C:\\Users\\someone\\Documents\\projects\\file0123456.txt", ReadProfile(portable, "History", "h0123456"))
        << "the settings were not carried over whole";
}

// One packer registered for 100,000 extensions: the list takes the names that fit its 64 KiB
// buffer, each whole (a cut last name would name another key); every checked row is registered
// and the shared directory is copied once.
TEST_F(SettingsFile, HundredThousandKeysInAPluginSection)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n";
    std::set<std::string> names;
    for (int key = 0; key < 100000; ++key) {
        std::string name = "e" + std::to_string(key);
        names.insert(name);
        ini += name + "=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n";
    }
    Kept = StandardKeptFiles();
    Prepare(StandardDesktop(ini));
    RunOutcome run = RunWizard(RunChoices());
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_GT(run.PluginRows.size(), 1000u);
    EXPECT_LT(run.PluginRows.size(), 100000u) << "more names than the 64 KiB list holds";
    size_t listed = 0;
    std::set<std::string> seen;
    for (const PluginRow &row : run.PluginRows) {
        std::string key = row.Label.substr(8);
        listed += key.size() + 1;
        EXPECT_TRUE(names.count(key)) << "row for a key the file does not hold: " << row.Label;
        EXPECT_TRUE(seen.insert(key).second) << "key listed twice: " << key;
    }
    EXPECT_LE(listed, 65535u);
    EXPECT_EQ("1k", run.CheckedTotal) << "rows of one directory count once";
    std::vector<std::string> expected = {"Plugins\\", "Plugins\\vpx\\", "Plugins\\vpx\\arc\\",
                                         "Plugins\\vpx\\arc\\arc.vpx", "Plugins\\vpx\\arc\\doc\\",
                                         "Plugins\\vpx\\arc\\doc\\readme.txt", "extra1.ini", "extra2.ini",
                                         "vpx_ftp.ini", "vtmain.ini"};
    EXPECT_EQ(expected, DeviceListing(Device));
    std::string portable = Device + "\\vtmain.ini";
    const PluginRow &last = run.PluginRows.back();
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx", ReadProfile(portable, "PackerPlugins", "e0"));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
              ReadProfile(portable, "PackerPlugins", last.Label.substr(8).c_str()));
    EXPECT_EQ("<absent>", ReadProfile(portable, "PackerPlugins", "e99999"));
}

// The same registrations, with Cancel pressed while the first of them are written: the page
// takes it at once, although rows of a shared directory reach no tree copy, and the wizard
// closes after the run with the rest left out and the language recorded.
TEST_F(SettingsFile, CancelDuringThousandsOfRegistrations)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n";
    for (int key = 0; key < 100000; ++key)
        ini += "e" + std::to_string(key) + "=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n";
    Kept = StandardKeptFiles();
    Prepare(StandardDesktop(ini));
    RunChoices choices;
    // The first row copies the directory; the rows from e1 on reuse it.
    choices.CancelWhenStatusStartsWith = "Packer: e5";
    RunOutcome run = RunWizard(choices);
    EXPECT_TRUE(run.ClosedOnCancel) << "the wizard did not close soon after Cancel";
    EXPECT_EQ(1, InstallState.AbortRequested);
    IniFile portable = Portable();
    size_t registered = 0;
    for (const IniSection &section : portable) {
        if (section.Name == "PackerPlugins")
            registered = section.Lines.size();
    }
    // Rows are in key order: the one shown at the press is row e<n>, and one more may pass before
    // the press is handled.
    ASSERT_GT(run.StatusLine.size(), 9u);
    size_t shownRow = std::stoul(run.StatusLine.substr(9));
    EXPECT_GE(registered, shownRow);
    EXPECT_LE(registered, shownRow + 2) << "the registrations went on after Cancel";
    EXPECT_EQ("%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng",
              ReadProfile(Device + "\\vtmain.ini", "Configuration", "LanguageIni"));
    EXPECT_FALSE(PathExists(Device + "\\extra2.ini")) << "extra settings files are not copied after Cancel";
}

}  // namespace
}  // namespace hostile
