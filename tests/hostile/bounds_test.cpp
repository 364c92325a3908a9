// Settings lines far past any buffer, and plugin values and keys at the length where the
// buffers end: what fits is carried over whole, what does not is never used cut.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "hostile/hostile_fixture.h"

using namespace engine_fixture;

namespace hostile {
namespace {

bool HasRow(const RunOutcome &run, const std::string &label)
{
    for (const ListedPluginRow &row : run.PluginRows) {
        if (row.Label == label)
            return true;
    }
    return false;
}

// A line of 100 KiB is carried over whole; a plugin value of 70,000 characters, whose first 259
// would name the parent of its directory, gives no row and is neither copied nor registered.
TEST_F(HostileTest, LinesLongerThan64KiB)
{
    Prepare(StandardDesktop(""));
    const std::string history = "History=" + std::string(100 * 1024, 'h');
    std::string ini = STANDARD_INI;
    ini.insert(ini.find("[PackerPlugins]"), history + "\r\n");
    ini += "[FileSystemPlugins]\r\nlong=" + Files.DesktopDir + "\\plugins\\" + std::string(70000, 'd') +
           "\\big.vfx\r\n";
    ini += "[ContentPlugins]\r\n" + std::string(70000, 'k') + "=" + Files.DesktopDir + "\\plugins\\arc\\arc.vpx\r\n";
    WriteFileBytes(Files.MainIniPath, ini);
    Kept = StandardKeptFiles();
    for (const KeptFile &kept : Kept)
        WriteFileBytes(Device + "\\" + kept.RelativePath, kept.Content);
    TakeChecksums();

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    ASSERT_NO_FATAL_FAILURE(ExpectStandardPluginRows(run, "only the two plugins of ordinary length"));
    EXPECT_EQ(StandardDeviceTree(), ListTree(Device));
    std::string portable;
    ASSERT_TRUE(ReadFileBytes(Device + "\\vtmain.ini", &portable));
    EXPECT_NE(std::string::npos, portable.find(history + "\r\n")) << "the long line was not kept whole";
    EXPECT_EQ("<absent>", ProfileValue(Device + "\\vtmain.ini", "FileSystemPlugins", "long"));
}

// Packer values of 258, 259 and 260 characters, each naming its own directory: the first two are
// carried over whole, written out or once their reference is expanded; the third does not fit a
// value buffer and names no plugin.
TEST_F(HostileTest, PluginValuesAtTheBufferBound)
{
    Prepare(StandardDesktop(""));
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n";
    struct Bound {
        size_t Length;  // once expanded
        bool Reference;
    };
    for (const Bound &bound : {Bound{258, false}, Bound{259, false}, Bound{260, false}, Bound{259, true}}) {
        std::string number = (bound.Reference ? "e" : "") + std::to_string(bound.Length);
        std::string file = "\\b" + number + ".vpx";
        std::string directory = Files.DesktopDir + "\\plugins\\p" + number;
        directory += std::string(bound.Length - 3 - directory.size() - file.size(), 'x');
        std::string value = "21," + directory + file;
        ASSERT_EQ(bound.Length, value.size());
        WriteFileBytes(directory + file, "plugin " + number);
        if (bound.Reference)
            value = "21,%VELTRANO_PATH%" + value.substr(3 + Files.DesktopDir.size());
        ini += "v" + number + "=" + value + "\r\n";
    }
    WriteFileBytes(Files.MainIniPath, ini);
    TakeChecksums();

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    EXPECT_TRUE(HasRow(run, "Packer: v258"));
    EXPECT_TRUE(HasRow(run, "Packer: v259"));
    EXPECT_TRUE(HasRow(run, "Packer: ve259"));
    EXPECT_FALSE(HasRow(run, "Packer: v260")) << "a value cut to its buffer was listed";
    std::vector<std::string> expected = {"Plugins\\",
                                         "Plugins\\vpx\\",
                                         "Plugins\\vpx\\b258\\",
                                         "Plugins\\vpx\\b258\\b258.vpx",
                                         "Plugins\\vpx\\b259\\",
                                         "Plugins\\vpx\\b259\\b259.vpx",
                                         "Plugins\\vpx\\be259\\",
                                         "Plugins\\vpx\\be259\\be259.vpx",
                                         "extra1.ini",
                                         "extra2.ini",
                                         "vpx_ftp.ini",
                                         "vtmain.ini"};
    EXPECT_EQ(expected, ListTree(Device));
    std::string portable = Device + "\\vtmain.ini";
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\b258\\b258.vpx", ProfileValue(portable, "PackerPlugins", "v258"));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\b259\\b259.vpx", ProfileValue(portable, "PackerPlugins", "v259"));
    EXPECT_EQ("21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\be259\\be259.vpx",
              ProfileValue(portable, "PackerPlugins", "ve259"));
    EXPECT_EQ("<absent>", ProfileValue(portable, "PackerPlugins", "v260"));
}

// A plugin directory whose expansion does not fit a path buffer is not listed: cut at the bound,
// it would name another directory (here its parent, which holds a plugin of its own) and show
// that directory's size.
TEST_F(HostileTest, PluginDirectoryCutByItsExpansion)
{
    Prepare(StandardDesktop(""));
    // After "21," the expansion has room for 256 characters: the parent and its separator.
    std::string parent = Files.DesktopDir + "\\plugins\\";
    parent += std::string(255 - parent.size(), 'p');
    WriteFileBytes(parent + "\\f", std::string(5000, 'f'));
    ASSERT_TRUE(SetEnvironmentVariableA("VT_LONG_PARENT", parent.c_str()));
    std::string ini = STANDARD_INI;
    ini += "[FileSystemPlugins]\r\ncut=21,%VT_LONG_PARENT%\\" + std::string(30, 'c') + "\\cut.vfx\r\n";
    WriteFileBytes(Files.MainIniPath, ini);
    TakeChecksums();

    RunOutcome run = RunWizard(RunChoices());
    SetEnvironmentVariableA("VT_LONG_PARENT", NULL);
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    ASSERT_NO_FATAL_FAILURE(ExpectStandardPluginRows(run, "the cut directory was listed"));
    EXPECT_EQ("<absent>", ProfileValue(Device + "\\vtmain.ini", "FileSystemPlugins", "cut"));
}

// Button bar settings of 259 characters, written out or once expanded, are copied under their
// own names; one of 260 either way does not fit and counts as no setting.
struct BarBound {
    const char *Name;
    size_t Length;  // once expanded
    bool Reference;
    bool Fits;
};

void PrintTo(const BarBound &c, std::ostream *out)
{
    *out << c.Name;
}

class ButtonBarSettingsAtTheBufferBound : public HostileTest, public testing::WithParamInterface<BarBound> {};

TEST_P(ButtonBarSettingsAtTheBufferBound, FitWholeOrCountAsNone)
{
    const BarBound &c = GetParam();
    Prepare(StandardDesktop(""));
    std::string directory = Files.DesktopDir + "\\bars\\";
    std::string name = std::string(c.Length - directory.size() - 4, 'b') + ".bar";
    ASSERT_LE((Device + "\\" + name).size(), 259u) << "the copy on the device must fit";
    std::string path = directory + name;
    ASSERT_EQ(c.Length, path.size());
    if (c.Fits)
        WriteFileBytes(path, "[Buttonbar]\r\nButtoncount=259\r\n");
    WriteFileBytes(Files.DesktopDir + "\\default.bar", "[Buttonbar]\r\nButtoncount=2\r\n");
    std::string setting = c.Reference ? "%VELTRANO_PATH%" + path.substr(Files.DesktopDir.size()) : path;
    WriteFileBytes(Files.MainIniPath, std::string(STANDARD_INI) + "[buttonbar]\r\nbuttonbar=" + setting + "\r\n");
    TakeChecksums();

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    std::string onDevice = c.Fits ? name : "default.bar";
    EXPECT_EQ("%U3_APP_DATA_PATH%\\" + onDevice, ProfileValue(Device + "\\vtmain.ini", "Buttonbar", "Buttonbar"));
    std::string copy, source;
    EXPECT_TRUE(ReadFileBytes(Device + "\\" + onDevice, &copy)) << "the key names no file";
    ASSERT_TRUE(ReadFileBytes(c.Fits ? path : Files.DesktopDir + "\\default.bar", &source));
    EXPECT_EQ(source, copy);
}

INSTANTIATE_TEST_SUITE_P(HostileTest, ButtonBarSettingsAtTheBufferBound,
                         testing::Values(BarBound{"Written259", 259, false, true},
                                         BarBound{"Expanded259", 259, true, true},
                                         BarBound{"Written260", 260, false, false},
                                         BarBound{"Expanded260", 260, true, false}),
                         [](const testing::TestParamInfo<BarBound> &info) { return std::string(info.param.Name); });

// Keys of 258, 259 and 260 characters do not fit a row label after "Packer: ": they give no row,
// and above all are not carried over as the key their cut label would name (the key of 250
// characters here, which points at another plugin). The longest key a label holds, 251
// characters, is carried over.
TEST_F(HostileTest, PluginKeysAtTheBufferBound)
{
    std::string ini = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\n[PackerPlugins]\r\n";
    ini += std::string(250, 'K') + "=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n";
    ini += std::string(251, 'K') + "=21,%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\r\n";
    for (size_t length : {258u, 259u, 260u})
        ini += std::string(length, 'K') + "=21,%VELTRANO_PATH%\\plugins\\other\\other.vpx\r\n";
    DesktopDescription desktop = StandardDesktop(ini);
    desktop.Files.push_back(PluginFile("plugins\\other\\other.vpx", "other plugin"));
    Prepare(desktop);

    RunOutcome run = RunWizard(RunChoices());
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedWithoutBoxes(run));
    ASSERT_EQ(2u, run.PluginRows.size());
    EXPECT_EQ("Packer: " + std::string(250, 'K'), run.PluginRows[0].Label);
    EXPECT_EQ("Packer: " + std::string(251, 'K'), run.PluginRows[1].Label);
    // Both packers: imgview.vlx registered as one lands below vpx.
    std::vector<std::string> expected =
        TreeEdited(StandardDeviceTree(), {"Plugins\\vpx\\imgview\\", "Plugins\\vpx\\imgview\\imgview.vlx"},
                   {"Plugins\\vlx\\", "Plugins\\vlx\\imgview\\", "Plugins\\vlx\\imgview\\imgview.vlx"});
    EXPECT_EQ(expected, ListTree(Device));
    IniFile portable = Portable();
    std::vector<std::string> registrations;
    for (const IniSection &section : portable) {
        if (section.Name == "PackerPlugins")
            registrations = section.Lines;
    }
    std::vector<std::string> expectedRegistrations = {
        std::string(250, 'K') + "=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx",
        std::string(251, 'K') + "=21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\imgview\\imgview.vlx"};
    EXPECT_EQ(expectedRegistrations, registrations);
}

}  // namespace
}  // namespace hostile
