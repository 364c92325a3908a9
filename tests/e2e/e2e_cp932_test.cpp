// The typical run of the real stickinstall.exe under the ANSI code page 932 (the test runs with
// LC_ALL=ja_JP.UTF-8, which the installer inherits), with the desktop installation, a plugin
// folder and its file, and the device's data directory at double-byte paths whose characters
// end in the byte 0x5C. The device must end up as after the plain typical run, names aside.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource.h"
#include "sample_desktop.h"
#include "settings_text.h"
#include "support/desktop_fixture.h"
#include "support/files.h"
#include "support/registry_snapshot.h"
#include "support/temp_directory.h"
#include "support/text.h"
#include "support/tree_snapshot.h"
#include "support/trees.h"
#include "support/process.h"
#include "support/registrations.h"
#include "typical_run.h"

namespace {

// Shift-JIS: both trail bytes equal a backslash.
#define HYOU "\x95\x5C"
#define SO "\x83\x5C"

// The sample's lister plugin moved to a double-byte folder and file name: "imgview" becomes
// HYOU SO for the folder and the file's base name, on the desktop and on the device alike.
std::string WithDoubleByteLister(std::string text)
{
    text = Replaced(text, "imgview.vlx", HYOU SO ".vlx");
    text = Replaced(text, "listers\\imgview", "listers\\" HYOU SO);
    return Replaced(text, "vlx\\imgview", "vlx\\" HYOU SO);
}

class DoubleByteEndToEnd : public ::testing::Test {
protected:
    std::string Root, Desktop, AppData, DeviceExec, HostExec;

    void SetUp() override
    {
        ASSERT_EQ(932u, GetACP()) << "the test environment must give code page 932";
        Root = FreshTempDirectory("veltrano-e2e-cp932");
        Desktop = Root + "\\" HYOU SO;
        AppData = Root + "\\" SO "\\Data" HYOU;
        DeviceExec = Root + "\\" SO "\\Exec";
        HostExec = Root + "\\host\\" HYOU;
        MakeDirectories(AppData);
        MakeDirectories(DeviceExec);
        MakeDirectories(HostExec);
        std::string failure;
        ASSERT_TRUE(InstallSampleDesktop(Desktop, &failure)) << failure;

        std::string listers = Desktop + "\\plugins\\listers\\";
        ASSERT_TRUE(MoveFileA((listers + "imgview").c_str(), (listers + HYOU SO).c_str()));
        ASSERT_TRUE(MoveFileA((listers + HYOU SO "\\imgview.vlx").c_str(), (listers + HYOU SO "\\" HYOU SO ".vlx").c_str()));
        std::string settings = ReadWholeFile(Desktop + "\\vtmain.ini");
        ASSERT_NE(std::string::npos, settings.find("listers\\imgview\\imgview.vlx"));
        ASSERT_TRUE(WriteTextFile(Desktop + "\\vtmain.ini", WithDoubleByteLister(settings)));
    }

    void TearDown() override
    {
        RemoveVeltranoKeys();
        RemoveTree(Root);
    }

    // The device against the plain run's listing with the lister's names changed: every entry
    // there and nothing else, each file equal to its desktop source, the portable file key by key.
    std::string DeviceDifferences()
    {
        std::vector<DeviceEntry> expected =
            ReadDeviceListing(FixturesDirectory() + "\\typical-run\\device.txt");
        if (expected.empty())
            return "no listing typical-run\\device.txt";
        std::vector<SettingsSection> portable =
            ParseSettings(WithDoubleByteLister(ReadWholeFile(FixturesDirectory() + "\\typical-run\\vtmain.ini")));
        TreeSnapshot device = SnapshotTree(AppData);
        std::string differences;
        std::set<std::string> listed;
        for (const DeviceEntry &plain : expected) {
            std::string path = WithDoubleByteLister(plain.Path), source = WithDoubleByteLister(plain.Source);
            bool directory = !path.empty() && path.back() == '\\';
            if (directory)
                path.pop_back();
            listed.insert(path);
            auto found = device.find(path);
            if (found == device.end()) {
                differences += "missing: " + path + "\n";
            } else if (directory != found->second.Directory) {
                differences += "not a " + std::string(directory ? "directory" : "file") + ": " + path + "\n";
            } else if (source == "portable") {
                std::string changed = SettingsDifferences(portable, ParseSettings(found->second.Contents));
                if (!changed.empty())
                    differences += "portable file " + path + ":\n" + changed + "it reads:\n" + found->second.Contents;
            } else if (!directory && ReadWholeFile(Desktop + "\\" + source) != found->second.Contents) {
                differences += path + " is not a copy of " + source + "\n";
            }
        }
        for (const auto &entry : device) {
            if (!listed.count(entry.first))
                differences += "unexpected: " + entry.first + "\n";
        }
        return differences;
    }
};

TEST_F(DoubleByteEndToEnd, TypicalRunAtDoubleBytePaths)
{
    TreeSnapshot desktopBefore = SnapshotTree(Desktop);
    std::string registryBefore = SnapshotVeltranoRegistry();
    ASSERT_NE(std::string::npos, registryBefore.find(Desktop)) << registryBefore;

    InstallerDriver driver;
    ASSERT_TRUE(driver.Start(ProgramBesideTest("stickinstall.exe"),
                             {{"U3_APP_DATA_PATH", AppData.c_str()},
                              {"U3_HOST_EXEC_PATH", HostExec.c_str()},
                              {"U3_DEVICE_EXEC_PATH", DeviceExec.c_str()},
                              {"U3_IS_UPGRADE", "false"},
                              {"VELTRANO_PATH", NULL}}))
        << driver.Failure();

    TypicalChoices choices;
    // The settings page must show the whole desktop path, not one cut after its first character.
    choices.FoundSettingsFile = Desktop + "\\vtmain.ini";
    choices.Plugins = {"Packer: 7z", "Lister: 0: " HYOU SO};
    choices.SettingsFiles = {"imgview.ini"};
    std::vector<std::string> pluginRows, pluginPaths;
    std::string summary;
    bool driven = DriveTypicalRun(driver, choices, [&](int page) {
        if (page == IDD_PLUGINS) {
            pluginRows = driver.RowTexts(IDC_PLUGIN_LIST);
            pluginPaths = driver.RowTexts(IDC_PLUGIN_LIST, 2);
        }
        if (page == IDD_SUMMARY)
            summary = driver.Text(IDC_SUMMARY_TEXT);
    });
    ASSERT_TRUE(driven) << driver.Failure();
    DWORD code = 99;
    ASSERT_TRUE(driver.WaitForExit(&code)) << driver.Failure();
    EXPECT_EQ(0u, code);

    EXPECT_EQ((std::vector<std::string>{"Packer: 7z", "Packer: arj", "Lister: 0: " HYOU SO, "File System: Secure FTP",
                                        "Content: 0: exif"}),
              pluginRows);
    ASSERT_EQ(5u, pluginPaths.size());
    EXPECT_EQ(Desktop + "\\plugins\\listers\\" HYOU SO, pluginPaths[2]);
    EXPECT_EQ("\n- Settings files:\n  " + Desktop + "\\vtmain.ini\n  " + Desktop +
                  "\\vpx_ftp.ini\n\n- 2 selected plugins\n\n- 1 selected settings files\n",
              summary);

    EXPECT_EQ("", DeviceDifferences());
    EXPECT_EQ(std::vector<std::string>(), RegistrationsNamingNoDeviceFile(AppData))
        << "registrations that name no file on the device";
    EXPECT_EQ(std::vector<std::string>(),
              RegistrationsNotCopiedFromTheirSource(AppData, Desktop + "\\vtmain.ini", {}, Desktop))
        << "registrations whose file is not a copy of their own plugin";
    EXPECT_EQ("", TreeDifferences(desktopBefore, SnapshotTree(Desktop))) << "the desktop installation changed";
    EXPECT_EQ(registryBefore, SnapshotVeltranoRegistry()) << "the registry values changed";
}

}  // namespace
