// What every hostile input is held to: the program ends its work (every wait bounded), writes
// nothing outside the device's application-data directory, leaves the desktop installation and
// its registry values as they were, and leaves alone the device files it must not replace.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/engine_fixture.h"
#include "support/registrations.h"
#include "support/tree_checksum.h"
#include "support/trees.h"
#include "support/wizard_driver.h"

namespace hostile {

// Names, sizes and write times of the entries directly in the Windows directory, the root of
// drive C: and the temporary directory: where a cut or bare path would land.
std::string PlacesOutsideChecksum(const std::string &fixtureRoot);

// Runs work on a thread of its own and waits at most timeoutMs; on time-out the test fails and
// the process ends, since a thread that hangs cannot be stopped otherwise.
void RunBounded(const char *what, DWORD timeoutMs, const std::function<void()> &work);

// Bytes from a fixed-seed generator, NULs included.
std::string RandomBytes(size_t count, unsigned int seed);

// A device file that the run must not replace, with the text it holds.
struct KeptFile {
    std::string RelativePath;
    std::string Content;
};

// What the user does in one whole wizard run.
struct RunChoices {
    int LanguageRow = 1;  // Deutsch: the run ends by writing the language keys
    bool CopySettings = true;
    bool CopyPlugins = true;
    // Runs on the plugin page; the default checks every row ("Check all").
    std::function<void(WizardDriver &, HWND list)> OnPluginPage;
    bool CheckAllSettingsFiles = true;
    // Answers to the copy-error boxes, in the order they appear; a box beyond them fails the test.
    std::vector<int> BoxAnswers;
    // When not empty: Cancel is pressed (queued from the wizard's own thread) the moment the status
    // line is set to a text that starts with this one, and the wizard must then close (bounded
    // wait); StatusLine is then that text, and the outcome text is not read.
    std::string CancelWhenStatusStartsWith;
    DWORD PageWaitMs = RUN_HANG_GUARD_MS;  // filling the plugin page
    DWORD RunWaitMs = RUN_HANG_GUARD_MS;   // the installation run
};

struct RunOutcome {
    bool Finished = false;  // Finish became usable
    bool ClosedOnCancel = false;  // closed after the Cancel of CancelWhenStatusStartsWith
    std::string OutcomeText;
    std::string StatusLine;
    std::vector<DialogSeen> Boxes;
    std::vector<ListedPluginRow> PluginRows;  // as the list stood after the run
    std::string CheckedTotal, FreeSpace;
};

std::vector<ListedPluginRow> ReadPluginRows(HWND list);

// A desktop installation under a fresh root and a device directory, with InstallState filled as
// the start-up fills it, and the checks of the header made in TearDown.
class HostileTest : public ::testing::Test {
protected:
    engine_fixture::Fixture Files;
    std::string Device;  // U3_APP_DATA_PATH; Files.DeviceDir unless a test puts it elsewhere
    std::vector<KeptFile> Kept;
    std::vector<std::string> ExtraRoots;  // removed in TearDown, like the fixture root

    void SetUp() override;
    void TearDown() override;

    // Writes the desktop, points the install state at it and at `device` (empty: Files.DeviceDir),
    // writes the kept device files, then takes the checksums.
    void Prepare(const engine_fixture::DesktopDescription &desktop, const std::string &device = std::string());
    // Takes the checksums again (after a test wrote more desktop fixtures itself).
    void TakeChecksums();

    RunOutcome RunWizard(const RunChoices &choices);
    // A run with the default choices that answers the copy-error boxes with boxAnswers, in order.
    RunOutcome RunWizardAnswering(const std::vector<int> &boxAnswers);
    // A later installation onto the same device: the install state as a new start-up fills it.
    RunOutcome RunWizardAgain(const RunChoices &choices);
    IniFile Portable() const;

private:
    std::string desktopBefore_, registryBefore_, outsideBefore_, placesBefore_;
    bool prepared_ = false;
    char savedDirectory_[MAX_PATH] = "";
};

// A plugin file at relative path below the desktop, with a given content.
engine_fixture::FixtureFile PluginFile(const std::string &relativePath, const std::string &content);

// The desktop most cases start from: plugins arc (plugins\arc, with doc\readme.txt) and img
// (plugins\img), an FTP settings file and the extra settings files extra1.ini and extra2.ini.
engine_fixture::DesktopDescription StandardDesktop(const std::string &mainIni);

// Device files present before the run that it must leave alone: extra1.ini, and an earlier run's
// copy of the arc plugin (its plugin file as on the desktop, its read-me since changed there).
std::vector<KeptFile> StandardKeptFiles();

// The main settings file of the standard desktop with its two plugins registered.
extern const char STANDARD_INI[];

// The device after a whole run of the standard desktop with every row checked, as ListTree lists it.
std::vector<std::string> StandardDeviceTree();

// `tree` with the `added` entries and without the `removed` ones, in the order ListTree gives.
std::vector<std::string> TreeEdited(std::vector<std::string> tree, const std::vector<std::string> &added,
                                    const std::vector<std::string> &removed = {});

// The run finished, said so and put no box to the user. Call through ASSERT_NO_FATAL_FAILURE.
void ExpectCompletedWithoutBoxes(const RunOutcome &run);

// The standard desktop's two plugin rows, the packer first. Call through ASSERT_NO_FATAL_FAILURE.
void ExpectStandardPluginRows(const RunOutcome &run, const char *why = "");

}  // namespace hostile
