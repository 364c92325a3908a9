// A read-only device directory (a read-only bind mount that scripts/test maps to a drive letter,
// its writable side to another): nothing on the device changes, nothing is written elsewhere,
// and the run never ends as complete without the user having been told.
#include <windows.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "hostile/hostile_fixture.h"
#include "support/files.h"
#include "support/trees.h"

using namespace engine_fixture;

namespace hostile {
namespace {

struct ReadOnlyCase {
    const char *Name;
    int Answer;  // to the first box, the main settings file's
    const char *Outcome;
    size_t Boxes;
};

void PrintTo(const ReadOnlyCase &c, std::ostream *out)
{
    *out << c.Name;
}

class ReadOnlyDeviceDirectory : public HostileTest, public testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyDeviceDirectory, ChangesNothing)
{
    const ReadOnlyCase &c = GetParam();
    const char *readOnly = getenv("VELTRANO_READ_ONLY_DRIVE");
    const char *writable = getenv("VELTRANO_READ_ONLY_WRITABLE");
    ASSERT_TRUE(readOnly && *readOnly && writable && *writable)
        << "VELTRANO_READ_ONLY_DRIVE / VELTRANO_READ_ONLY_WRITABLE are not set: run the tests with scripts/test as "
           "root, which bind-mounts a directory read-only and maps it to a drive letter";
    std::string writableDevice = std::string(writable) + "\\device";
    RemoveTree(writableDevice);
    ExtraRoots.push_back(writableDevice);
    MakeDirectories(writableDevice);
    const KeptFile deviceFiles[] = {{"vtmain.ini", "[Configuration]\r\nfrom=device\r\n"},
                                    {"extra1.ini", "[device]\r\n"},
                                    {"Plugins\\vpx\\arc\\arc.vpx", "arc plugin"}};
    for (const KeptFile &file : deviceFiles)
        ASSERT_TRUE(WriteTextFile(writableDevice + "\\" + file.RelativePath, file.Content));
    std::string device = std::string(readOnly) + "\\device";
    ASSERT_FALSE(CreateDirectoryA((device + "\\probe").c_str(), NULL)) << device << " is not read-only";
    Kept.assign(std::begin(deviceFiles), std::end(deviceFiles));
    Prepare(StandardDesktop(STANDARD_INI), device);
    std::string deviceBefore = TreeChecksum(writableDevice);

    RunOutcome run = RunWizardAnswering({c.Answer, IDOK});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(c.Outcome, run.OutcomeText);
    ASSERT_EQ(c.Boxes, run.Boxes.size());
    EXPECT_EQ("Error copying file!", run.Boxes[0].Text);
    EXPECT_EQ(device + "\\vtmain.ini", run.Boxes[0].Caption);
    if (c.Boxes > 1) {
        EXPECT_EQ("Error copying file!", run.Boxes[1].Text);
        EXPECT_EQ(device + "\\Plugins\\vlx\\imgview\\imgview.vlx", run.Boxes[1].Caption);
    }
    EXPECT_EQ(deviceBefore, TreeChecksum(writableDevice)) << "the read-only device changed";
}

INSTANTIATE_TEST_SUITE_P(
    HostileTest, ReadOnlyDeviceDirectory,
    testing::Values(
        // then the plugin whose directory cannot be made
        ReadOnlyCase{"AnsweredOk", IDOK, "Installation complete!", 2},
        ReadOnlyCase{"AnsweredCancel", IDCANCEL, "Installation of plugins aborted!", 1}),
    [](const testing::TestParamInfo<ReadOnlyCase> &info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace hostile
