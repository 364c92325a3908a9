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

// The keys every portable file gets, read back through the profile interface.
void ExpectPortableKeys(const std::string &portable)
{
    EXPECT_EQ("%U3_APP_DATA_PATH%", ProfileValue(portable, "configuration", "TabDir"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins", ProfileValue(portable, "configuration", "pluginbasedir"));
    EXPECT_EQ("%U3_HOST_EXEC_PATH%\\treeinfo%D%.vt", ProfileValue(portable, "configuration", "TreeFileLocation"));
    EXPECT_EQ("%U3_DEVICE_EXEC_PATH%\\language\\vtmd_deu.lng", ProfileValue(portable, "Configuration", "LanguageIni"));
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
    // No Lister row, so no Lister plugin; the arc plugin's files are the kept ones from before.
    std::vector<std::string> expected =
        TreeEdited(StandardDeviceTree(), {},
                   {"Plugins\\vlx\\", "Plugins\\vlx\\imgview\\", "Plugins\\vlx\\imgview\\imgview.vlx"});
    EXPECT_EQ(expected, ListTree(Device));
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
    ASSERT_NO_FATAL_FAILURE(ExpectStandardPluginRows(run));
    EXPECT_EQ(StandardDeviceTree(), ListTree(Device));
    std::string portable = Device + "\\vtmain.ini";
    ExpectPortableKeys(portable);
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx", ProfileValue(portable, "PackerPlugins", "arc"));
    EXPECT_EQ("%U3_APP_DATA_PATH%\\Plugins\\vlx\\imgview\\imgview.vlx", ProfileValue(portable, "ListerPlugins", "0"));
    EXPECT_EQ("C:\\Users\\someone\\Documents\\projects\\file0123456.txt", ProfileValue(portable, "History", "h0123456"))
        << "the settings were not carried over whole";
}

// One packer registered for far more extensions than the plugin page's 64 KiB list of key names
// holds: a thousand of over a hundred characters each (the names, not their number, fill the
// buffer, so that few rows are registered and the case stays cheap under emulation).
const int MANY_KEYS = 1000;

std::string ManyKeyName(int key)
{
    return "e" + std::to_string(key) + "_" + std::string(100, 'x');
}

std::string ManyKeysSettings(std::set<std::string> *names)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n";
    for (int key = 0; key < MANY_KEYS; ++key) {
        std::string name = ManyKeyName(key);
        if (names)
            names->insert(name);
        ini += name + "=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n";
    }
    return ini;
}

// The list takes the names that fit its 64 KiB buffer, each whole (a cut last name would name
// another key); every checked row is registered and the shared directory is copied once.
TEST_F(SettingsFile, KeyNamesBeyondTheListBuffer)
{
    std::set<std::string> names;
    std::string ini = ManyKeysSettings(&names);
    size_t nameBytes = 0;
    for (const std::string &name : names)
        nameBytes += name.size() + 1;
    ASSERT_GT(nameBytes, 65536u) << "the section must hold more names than the list buffer";
    Kept = StandardKeptFiles();
    Prepare(StandardDesktop(ini));
    RunOutcome run = RunWizard(RunChoices());
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    ASSERT_LT(run.PluginRows.size(), names.size()) << "more names than the 64 KiB list holds";
    size_t listed = 0;
    std::set<std::string> seen;
    for (const ListedPluginRow &row : run.PluginRows) {
        std::string key = row.Label.substr(8);
        listed += key.size() + 1;
        EXPECT_TRUE(names.count(key)) << "row for a key the file does not hold: " << row.Label;
        EXPECT_TRUE(seen.insert(key).second) << "key listed twice: " << key;
    }
    EXPECT_LE(listed, 65535u);
    EXPECT_GT(listed + 2 * (ManyKeyName(MANY_KEYS - 1).size() + 1), 65535u)
        << "the list stopped short of its buffer's end";
    EXPECT_EQ("1k", run.CheckedTotal) << "rows of one directory count once";
    std::vector<std::string> expected = {"Plugins\\", "Plugins\\vpx\\", "Plugins\\vpx\\arc\\",
                                         "Plugins\\vpx\\arc\\arc.vpx", "Plugins\\vpx\\arc\\doc\\",
                                         "Plugins\\vpx\\arc\\doc\\readme.txt", "extra1.ini", "extra2.ini",
                                         "vpx_ftp.ini", "vtmain.ini"};
    EXPECT_EQ(expected, ListTree(Device));
    std::string portable = Device + "\\vtmain.ini";
    const ListedPluginRow &last = run.PluginRows.back();
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
              ProfileValue(portable, "PackerPlugins", ManyKeyName(0).c_str()));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
              ProfileValue(portable, "PackerPlugins", last.Label.substr(8).c_str()));
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", ManyKeyName(MANY_KEYS - 1).c_str()));
}

// The same registrations, with Cancel pressed while the first of them are written: the page
// takes it at once, although rows of a shared directory reach no tree copy, and the wizard
// closes after the run with the rest left out and the language recorded.
TEST_F(SettingsFile, CancelDuringHundredsOfRegistrations)
{
    std::string ini = ManyKeysSettings(nullptr);
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
              ProfileValue(Device + "\\vtmain.ini", "Configuration", "LanguageIni"));
    EXPECT_FALSE(PathExists(Device + "\\extra2.ini")) << "extra settings files are not copied after Cancel";
}

}  // namespace
}  // namespace hostile
