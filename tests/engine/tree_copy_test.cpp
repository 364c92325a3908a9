// The directory tree copy on real directories, with its message boxes answered by a second thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/install_state.h"
#include "engine/tree_copy.h"
#include "files/entry_filter.h"
#include "pages/run_report.h"
#include "support/files.h"
#include "support/hang_guard.h"
#include "support/message_box_answerer.h"
#include "support/temp_directory.h"
#include "support/trees.h"
#include "support/walk_bound.h"
#include "tree_fixture.h"

namespace {

// Tree listings as sets, so that expectations name entries in any order.
typedef std::set<std::string> Listing;

Listing Entries(const std::string &root)
{
    std::vector<std::string> entries = ListTree(root);
    return Listing(entries.begin(), entries.end());
}

const UINT WM_TEST_CANCEL = WM_APP + 1;  // what the progress page's Cancel does, as a message
const UINT WM_TEST_COUNT = WM_APP + 2;

// Handles are small multiples of four, handed out lowest first: probing a range finds them all.
int CountOpenHandles()
{
    int count = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// The wizard's window during a copy: it is the active window, and its Cancel sets
// AbortRequested as the progress page does.
struct OwnerWindow {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_TEST_CANCEL) {
            InstallState.AbortRequested = 1;
            WatchedEntries = static_cast<int>(ListTree(*WatchedTarget).size());
            return 0;
        }
        if (message == WM_TEST_COUNT) {
            ++Counted;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    OwnerWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "TreeCopyTestOwner";
        RegisterClassA(&windowClass);
        Window = CreateWindowA("TreeCopyTestOwner", "Tree copy test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                               300, 200, NULL, NULL, GetModuleHandleA(NULL), NULL);
        SetForegroundWindow(Window);
        SetActiveWindow(Window);
    }
    ~OwnerWindow() { DestroyWindow(Window); }

    HWND Window;
    static const std::string *WatchedTarget;  // counted when Cancel arrives
    static int WatchedEntries;
    static int Counted;
};

const std::string *OwnerWindow::WatchedTarget = NULL;
int OwnerWindow::WatchedEntries = -1;
int OwnerWindow::Counted = 0;

class TreeCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallState.AbortRequested = 0;
        Scratch.reset(new ScratchDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        Source = Join(Scratch->Path, "source");
        Target = Join(Scratch->Path, "target");
        CreateDirectoryA(Source.c_str(), NULL);
        CreateDirectoryA(Target.c_str(), NULL);
    }
    void TearDown() override { InstallState.AbortRequested = 0; }

    // Runs the copy with every box answered by `button`; the boxes seen land in Boxes.
    int Copy(const std::string &source, const std::string &target, int button = IDOK)
    {
        MessageBoxAnswerer answerer(button);
        int result = CopyTree(source.c_str(), target.c_str());
        Boxes = answerer.Stop();
        return result;
    }

    std::unique_ptr<ScratchDirectory> Scratch;
    std::string Source;
    std::string Target;
    std::vector<SeenBox> Boxes;
};

void ExpectSameContent(const std::string &source, const std::string &target, const Listing &entries)
{
    for (const std::string &entry : entries) {
        if (entry.back() == '\\')
            continue;
        EXPECT_EQ(ReadTextFile(Join(source, entry)), ReadTextFile(Join(target, entry))) << entry;
    }
}

TEST(IsLeftOutEntry, Cases)
{
    struct Case {
        const char *Name;
        BOOL LeftOut;
    };
    const Case cases[] = {
        {".", TRUE},           {"..", TRUE},          {"old.zip", TRUE},     {"DATA.RAR", TRUE},
        {".zip", TRUE},        {"Backup.Rar", TRUE},  {"a.b.zIp", TRUE},     {"notes.zip.txt", FALSE},
        {".profile", FALSE},   {"plain", FALSE},      {"zip", FALSE},        {"a.zipx", FALSE},
        {"a.zi", FALSE},       {"a.zip.", FALSE},     {"...", FALSE},        {"rar", FALSE},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.LeftOut, IsLeftOutEntry(c.Name)) << c.Name;
}

TEST_F(TreeCopy, LeavesArchivesBehindAndCopiesEverythingElse)
{
    BuildTree(Source, {"old.zip\\", "old.zip\\inner.txt", "notes.zip.txt", "DATA.RAR", ".zip", ".profile",
                       "plain.txt", "Backup.Rar\\", "Backup.Rar\\x.txt", "sub\\", "sub\\deep\\",
                       "sub\\deep\\file.dat", "sub\\skip.ZIP", "empty\\"});
    EXPECT_EQ(1, Copy(Source, Target));
    const Listing expected = {"notes.zip.txt", ".profile", "plain.txt", "sub\\", "sub\\deep\\",
                              "sub\\deep\\file.dat", "empty\\"};
    EXPECT_EQ(expected, Entries(Target));
    ExpectSameContent(Source, Target, expected);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TreeCopy, SecondRunIntoTheSameTargetChangesNothing)
{
    BuildTree(Source, {"a.txt", "sub\\", "sub\\b.txt"});
    // Trailing backslashes on the arguments name the same directories.
    ASSERT_EQ(1, Copy(Source + "\\", Target + "\\"));
    ASSERT_TRUE(WriteTextFile(Join(Target, "sub\\b.txt"), "changed on the device"));
    const Listing before = Entries(Target);

    EXPECT_EQ(1, Copy(Source, Target));
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(before, Entries(Target));
    EXPECT_EQ("changed on the device", ReadTextFile(Join(Target, "sub\\b.txt")));
    EXPECT_EQ("a.txt", ReadTextFile(Join(Target, "a.txt")));
}

TEST_F(TreeCopy, CopiedFilesCarryNoAttributes)
{
    struct Case {
        const char *Name;
        DWORD SourceAttributes;
    };
    const Case cases[] = {
        {"readonly.txt", FILE_ATTRIBUTE_READONLY},
        {"hidden_system.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {"all.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const Case &c : cases) {
        BuildTree(Source, {c.Name});
        ASSERT_TRUE(SetFileAttributesA(Join(Source, c.Name).c_str(), c.SourceAttributes)) << c.Name;
    }
    EXPECT_EQ(1, Copy(Source, Target));
    // The platform reports every plain file as archived; the other three must be gone.
    const DWORD unwanted = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const Case &c : cases) {
        DWORD attributes = Attributes(Join(Target, c.Name));
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << c.Name << " was not copied";
        EXPECT_EQ(0u, attributes & unwanted) << c.Name << " kept attributes " << std::hex << attributes;
        EXPECT_EQ(c.Name, ReadTextFile(Join(Target, c.Name)));
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TreeCopy, ExistingSubdirectoryIsUsedAndItsFilesLeftAlone)
{
    BuildTree(Source, {"sub\\", "sub\\same.txt", "sub\\new.txt"});
    BuildTree(Target, {"sub\\", "sub\\mine.txt"});
    ASSERT_TRUE(WriteTextFile(Join(Target, "sub\\same.txt"), "device copy"));

    EXPECT_EQ(1, Copy(Source, Target));
    const Listing expected = {"sub\\", "sub\\same.txt", "sub\\new.txt", "sub\\mine.txt"};
    EXPECT_EQ(expected, Entries(Target));
    EXPECT_EQ("device copy", ReadTextFile(Join(Target, "sub\\same.txt")));
    EXPECT_EQ("sub\\mine.txt", ReadTextFile(Join(Target, "sub\\mine.txt")));
    EXPECT_EQ("sub\\new.txt", ReadTextFile(Join(Target, "sub\\new.txt")));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TreeCopy, EmptySourceCopiesNothingAndSucceeds)
{
    EXPECT_EQ(1, Copy(Source, Target));
    EXPECT_TRUE(ListTree(Target).empty());
    EXPECT_TRUE(Boxes.empty());
}

// A source that is gone by the time of the copy has not arrived: the tree is not complete, and
// the user is asked as for any file that could not be copied.
TEST_F(TreeCopy, MissingSourceIsACopyError)
{
    struct Case {
        int Answer;
        int AbortAfter;
    };
    const Case cases[] = {{IDOK, 0}, {IDCANCEL, 1}};
    OwnerWindow owner;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Answer == IDOK ? "answered OK" : "answered Cancel");
        InstallState.AbortRequested = 0;
        EXPECT_EQ(0, Copy(Join(Scratch->Path, "no such directory"), Target, c.Answer));
        EXPECT_EQ(c.AbortAfter, InstallState.AbortRequested);
        ASSERT_EQ(1u, Boxes.size());
        EXPECT_EQ("Error copying file!", Boxes[0].Text);
        EXPECT_EQ(Target + "\\", Boxes[0].Caption);
        EXPECT_TRUE(ListTree(Target).empty());
    }
}

// A subdirectory that cannot be listed (held open by a handle that shares nothing) copies nothing,
// and so the tree did not arrive: put to the user, captioned with the subdirectory on the device.
TEST_F(TreeCopy, UnlistableSubdirectoryIsACopyError)
{
    struct Case {
        int Answer;
        int AbortAfter;
    };
    const Case cases[] = {{IDOK, 0}, {IDCANCEL, 1}};
    BuildTree(Source, {"a\\", "a\\b\\", "a\\b\\inner.txt"});
    HANDLE hold = CreateFileA(Join(Source, "a\\b").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    OwnerWindow owner;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Answer == IDOK ? "answered OK" : "answered Cancel");
        InstallState.AbortRequested = 0;
        RemoveTree(Target);
        CreateDirectoryA(Target.c_str(), NULL);
        EXPECT_EQ(0, Copy(Source, Target, c.Answer)) << "the copy was reported as arrived";
        EXPECT_EQ(c.AbortAfter, InstallState.AbortRequested);
        ASSERT_EQ(1u, Boxes.size());
        EXPECT_EQ("Error copying file!", Boxes[0].Text);
        EXPECT_EQ(Join(Target, "a\\b\\"), Boxes[0].Caption);
        EXPECT_EQ(Listing({"a\\", "a\\b\\"}), Entries(Target));
    }
    CloseHandle(hold);
}

TEST_F(TreeCopy, SubdirectoryThatCannotBeCreatedStopsSilently)
{
    BuildTree(Source, {"sub\\", "sub\\a.txt"});
    EXPECT_EQ(0, Copy(Source, Join(Target, "missing parent")));
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(0, InstallState.AbortRequested);
    EXPECT_TRUE(ListTree(Target).empty());
}

TEST_F(TreeCopy, CancelDuringACopyStopsBeforeTheNextEntry)
{
    std::vector<std::string> entries;
    for (int d = 0; d < 100; ++d) {
        std::string directory = "dir" + std::to_string(d) + "\\";
        entries.push_back(directory);
        for (int f = 0; f < 30; ++f)
            entries.push_back(directory + "file" + std::to_string(f) + ".txt");
    }
    BuildTree(Source, entries);
    OwnerWindow owner;
    OwnerWindow::WatchedTarget = &Target;
    OwnerWindow::WatchedEntries = -1;

    // The Cancel button's message arrives from outside once the copy is under way. The
    // canceller looks at the target only between the two handle counts.
    struct Canceller {
        HWND Window;
        const std::string *Target;
        HANDLE Go;
        HANDLE Finish;
        bool Posted;
        static DWORD WINAPI Run(LPVOID self)
        {
            Canceller *c = static_cast<Canceller *>(self);
            if (WaitForSingleObject(c->Go, PROCESS_HANG_GUARD_MS) != WAIT_OBJECT_0)
                return 0;
            DWORD start = GetTickCount();
            while (ListTree(*c->Target).empty() && GetTickCount() - start < PROCESS_HANG_GUARD_MS)
                Sleep(1);
            c->Posted = !ListTree(*c->Target).empty() && PostMessageA(c->Window, WM_TEST_CANCEL, 0, 0);
            WaitForSingleObject(c->Finish, PROCESS_HANG_GUARD_MS);
            return 0;
        }
    } canceller = {owner.Window, &Target, CreateEventA(NULL, TRUE, FALSE, NULL),
                   CreateEventA(NULL, TRUE, FALSE, NULL), false};
    HANDLE thread = CreateThread(NULL, 0, Canceller::Run, &canceller, 0, NULL);
    MessageBoxAnswerer answerer(IDOK);
    int handlesBefore = CountOpenHandles();
    SetEvent(canceller.Go);
    int result = CopyTree(Source.c_str(), Target.c_str());
    int handlesAfter = CountOpenHandles();
    SetEvent(canceller.Finish);
    Boxes = answerer.Stop();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, PROCESS_HANG_GUARD_MS + 5000)) << "canceller did not end";
    CloseHandle(thread);
    CloseHandle(canceller.Go);
    CloseHandle(canceller.Finish);
    ASSERT_TRUE(canceller.Posted) << "the copy created nothing in " << Target;

    EXPECT_EQ(0, result);
    EXPECT_EQ(1, InstallState.AbortRequested);
    EXPECT_TRUE(Boxes.empty());
    size_t copied = ListTree(Target).size();
    EXPECT_EQ(static_cast<size_t>(OwnerWindow::WatchedEntries), copied) << "entries were handled after Cancel";
    EXPECT_LT(copied, entries.size()) << "the copy ran to the end before Cancel arrived";
    EXPECT_EQ(handlesBefore, handlesAfter) << "a search handle stayed open";
}

TEST_F(TreeCopy, AbortSetBeforeTheCopyStopsAtTheFirstEntry)
{
    BuildTree(Source, {"a.zip", "plain.txt", "sub\\", "sub\\b.txt"});
    OwnerWindow owner;
    OwnerWindow::WatchedTarget = &Target;
    PostMessageA(owner.Window, WM_TEST_CANCEL, 0, 0);
    EXPECT_EQ(0, Copy(Source, Target));
    EXPECT_EQ(1, InstallState.AbortRequested);
    EXPECT_TRUE(ListTree(Target).empty());
    EXPECT_TRUE(Boxes.empty());
}

TEST(PumpMessages, DispatchesEveryQueuedMessageAndReturnsWhenEmpty)
{
    OwnerWindow owner;
    PumpMessages();
    OwnerWindow::Counted = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(owner.Window, WM_TEST_COUNT, 0, 0);
    PumpMessages();
    EXPECT_EQ(3, OwnerWindow::Counted);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, NULL, 0, 0, PM_NOREMOVE)) << "message " << left.message << " was left queued";
}

TEST_F(TreeCopy, CopyErrorAskedOnceAndCancelStopsTheInstallation)
{
    struct Case {
        int Answer;
        int AbortAfter;
    };
    const Case cases[] = {{IDOK, 0}, {IDCANCEL, 1}};
    BuildTree(Source, {"a\\", "a\\b\\", "a\\b\\locked.txt"});
    const std::string locked = Join(Source, "a\\b\\locked.txt");
    OwnerWindow owner;
    ASSERT_EQ(owner.Window, GetActiveWindow());
    // The first failed copy of a process opens handles that it keeps (message box, file
    // functions): one run before any counting.
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    Copy(Source, Target);
    InstallState.AbortRequested = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Answer == IDOK ? "answered OK" : "answered Cancel");
        InstallState.AbortRequested = 0;
        RemoveTree(Target);
        CreateDirectoryA(Target.c_str(), NULL);
        int handlesBefore = CountOpenHandles();
        int result = Copy(Source, Target, c.Answer);
        int handlesAfter = CountOpenHandles();

        EXPECT_EQ(0, result);
        EXPECT_EQ(c.AbortAfter, InstallState.AbortRequested);
        ASSERT_EQ(1u, Boxes.size());
        EXPECT_EQ("Error copying file!", Boxes[0].Text);
        EXPECT_EQ(Join(Target, "a\\b\\locked.txt"), Boxes[0].Caption);
        EXPECT_EQ(owner.Window, Boxes[0].Owner);
        EXPECT_TRUE(Boxes[0].HasOkAndCancel);
        EXPECT_TRUE(Boxes[0].HasErrorIcon);
        EXPECT_EQ(Listing({"a\\", "a\\b\\"}), Entries(Target));
        EXPECT_EQ(handlesBefore, handlesAfter) << "a search handle stayed open";
    }
    CloseHandle(hold);
}

TEST_F(TreeCopy, FailedCopyNeverRemovesAFileThatWasThere)
{
    BuildTree(Source, {"keep.txt"});
    ASSERT_TRUE(WriteTextFile(Join(Target, "keep.txt"), "device copy"));
    HANDLE hold = CreateFileA(Join(Source, "keep.txt").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    int result = Copy(Source, Target);
    CloseHandle(hold);
    // The source cannot be opened, which the copy finds out before it looks at the target.
    EXPECT_EQ(0, result);
    ASSERT_EQ(1u, Boxes.size());
    EXPECT_EQ("Error copying file!", Boxes[0].Text);
    EXPECT_EQ("device copy", ReadTextFile(Join(Target, "keep.txt")));
}

// A tmpfs of a few hundred KiB that the test script maps to a drive letter.
TEST_F(TreeCopy, DiskFullIsReportedAndLeavesNoPartialFile)
{
    const char *drive = getenv("VELTRANO_SMALL_DRIVE");
    ASSERT_TRUE(drive && *drive) << "VELTRANO_SMALL_DRIVE is not set: run the tests with scripts/test as root, "
                                    "which mounts a small tmpfs and maps it to a drive letter";
    std::string root = std::string(drive) + "\\";
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free)) << "no drive " << root;
    ASSERT_LT(total.QuadPart, 1024u * 1024u) << root << " is not the small drive";

    std::string deviceTarget = root + "tree_copy_disk_full";
    RemoveTree(deviceTarget);
    ASSERT_TRUE(CreateDirectoryA(deviceTarget.c_str(), NULL));
    // Larger than the whole drive, and read-only: the half-written copy carries that attribute.
    std::string big(1024 * 1024, 'x');
    ASSERT_TRUE(WriteTextFile(Join(Source, "big.bin"), big));
    ASSERT_TRUE(SetFileAttributesA(Join(Source, "big.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    OwnerWindow owner;

    EXPECT_EQ(0, Copy(Source, deviceTarget, IDCANCEL));
    EXPECT_EQ(1, InstallState.AbortRequested);
    ASSERT_EQ(1u, Boxes.size());
    EXPECT_EQ("Error copying file, Disk full!", Boxes[0].Text);
    EXPECT_EQ(Join(deviceTarget, "big.bin"), Boxes[0].Caption);
    EXPECT_FALSE(PathExists(Join(deviceTarget, "big.bin"))) << "the half-written copy stayed on the drive";
    RemoveTree(deviceTarget);
}

// Source and target roots of the same length, so that an entry fits both or neither.
TEST_F(TreeCopy, PathsThatDoNotFitAreCopyErrorsNeverCutNames)
{
    struct Case {
        const char *Name;
        int PathLength;  // of the deepest entry, in characters
        bool IsDirectory;
        bool Fits;
    };
    const Case cases[] = {
        {"file of 259", 259, false, true},
        {"file of 260", 260, false, false},
        {"directory of 255", 255, true, true},  // room for its search pattern
        {"directory of 256", 256, true, false},
    };
    for (int i = 0; i < static_cast<int>(COUNTOF(cases)); ++i) {
        const Case &c = cases[i];
        SCOPED_TRACE(c.Name);
        InstallState.AbortRequested = 0;
        std::string source = Join(Scratch->Path, "s" + std::to_string(i));
        std::string target = Join(Scratch->Path, "t" + std::to_string(i));
        const std::string middle(100, 'm');
        int nameLength = c.PathLength - static_cast<int>(source.size() + 1 + middle.size() + 1);
        std::string name = std::string(nameLength - 1, 'n') + (c.IsDirectory ? "d" : "f");
        std::vector<std::string> entries = {middle + "\\"};
        entries.push_back(middle + "\\" + name + (c.IsDirectory ? "\\" : ""));
        if (c.IsDirectory)
            entries.push_back(middle + "\\" + name + "\\x");
        CreateDirectoryA(source.c_str(), NULL);
        CreateDirectoryA(target.c_str(), NULL);
        BuildTree(source, entries);
        ASSERT_EQ(static_cast<size_t>(c.PathLength), Join(Join(target, middle), name).size());

        int result = Copy(source, target);
        if (c.Fits) {
            EXPECT_EQ(1, result);
            EXPECT_TRUE(Boxes.empty());
            EXPECT_EQ(ListTree(source), ListTree(target));
        } else {
            EXPECT_EQ(0, result);
            ASSERT_EQ(1u, Boxes.size());
            EXPECT_EQ("Error copying file!", Boxes[0].Text);
            EXPECT_EQ(Join(Join(target, middle), name), Boxes[0].Caption);
            EXPECT_EQ(Listing({middle + "\\"}), Entries(target)) << "something was created under a cut name";
        }
    }
}

TEST_F(TreeCopy, SourceRootTooLongForItsSearchIsACopyError)
{
    std::string source = Scratch->Path + "\\";
    source += std::string(256 - source.size(), 'r');
    ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
    BuildTree(source, {"a.txt"});
    EXPECT_EQ(0, Copy(source, Target));
    ASSERT_EQ(1u, Boxes.size());
    EXPECT_EQ("Error copying file!", Boxes[0].Text);
    EXPECT_EQ(Target, Boxes[0].Caption);
    EXPECT_TRUE(ListTree(Target).empty());
}

// Links back to a parent make the tree endless: the link guard leaves them out. A broken guard
// shows in the bounded walk first, instead of a copy that goes on for hours.
TEST_F(TreeCopy, LinksBackIntoTheTreeAreNotFollowed)
{
    BuildTree(Source, {"top.txt", "sub\\", "sub\\f.txt", "other\\", "other\\o.txt"});
    ASSERT_TRUE(MakeUnixSymlink(Join(Source, "sub"), "loop", "..")) << "could not create the link";
    ASSERT_TRUE(MakeUnixSymlink(Source, "self", ".")) << "could not create the link";
    // A link to a directory outside the walked path is no loop: it is copied like any other.
    ASSERT_TRUE(MakeUnixSymlink(Join(Source, "sub"), "sideways", "../other")) << "could not create the link";
    ASSERT_TRUE(PathExists(Join(Source, "sub\\loop\\top.txt"))) << "the link is not followed";
    ASSERT_TRUE(WalkOfLinkedTreeEnds(Source));

    EXPECT_EQ(1, Copy(Source, Target));
    EXPECT_EQ(0, InstallState.AbortRequested);
    EXPECT_TRUE(Boxes.empty());
    const Listing expected = {"top.txt", "sub\\", "sub\\f.txt", "other\\", "other\\o.txt", "sub\\sideways\\",
                              "sub\\sideways\\o.txt"};
    EXPECT_EQ(expected, Entries(Target));
}

}  // namespace
