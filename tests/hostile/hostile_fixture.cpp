#include "hostile/hostile_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "resources/resource.h"
#include "support/install_state_fixture.h"
#include "support/registrations.h"
#include "support/registry_snapshot.h"
#include "support/temp_directory.h"
#include "support/trees.h"

using namespace engine_fixture;

namespace hostile {

namespace {

// Files with size and time, directories by name alone (Wine touches its own folders).
void ListPlaceInto(const std::string &dir, const std::string &leaveOut, std::string *out)
{
    std::vector<std::string> lines;
    WalkTree(dir, [&](const WIN32_FIND_DATAW &found, const std::wstring &, const std::string &name) {
        if (lstrcmpiA(name.c_str(), leaveOut.c_str()) == 0 || name.compare(0, 19, "unix_command_status") == 0)
            return false;
        char line[128] = "";
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            snprintf(line, sizeof(line), " size=%lu written=%08lx%08lx", found.nFileSizeLow,
                     found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
        lines.push_back(dir + "\\" + name + line);
        return false;
    });
    std::sort(lines.begin(), lines.end());
    for (const std::string &line : lines)
        *out += line + "\n";
}

std::string TextOfCell(HWND list, int row, int subitem)
{
    char text[1024] = "";
    LVITEMA item = {};
    item.iSubItem = subitem;
    item.pszText = text;
    item.cchTextMax = COUNTOF(text);
    SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item), SMTO_NORMAL, STEP_HANG_GUARD_MS,
                        NULL);
    return text;
}

}  // namespace

std::string PlacesOutsideChecksum(const std::string &fixtureRoot)
{
    std::string rootName = fixtureRoot.substr(fixtureRoot.find_last_of('\\') + 1);
    std::string tempDir = TempDirectory();
    if (!tempDir.empty() && tempDir.back() == '\\')
        tempDir.pop_back();
    std::string all;
    ListPlaceInto(WindowsDirectory(), "", &all);
    ListPlaceInto("C:", "", &all);
    ListPlaceInto(tempDir, rootName, &all);
    return all;
}

void RunBounded(const char *what, DWORD timeoutMs, const std::function<void()> &work)
{
    std::atomic<bool> done(false);
    std::thread worker([&] {
        work();
        done = true;
    });
    DWORD start = GetTickCount();
    while (!done) {
        if (GetTickCount() - start > timeoutMs) {
            ADD_FAILURE() << what << " did not end within " << timeoutMs << " ms";
            fprintf(stderr, "hostile: %s hangs; ending the test process\n", what);
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        Sleep(5);
    }
    worker.join();
}

std::string RandomBytes(size_t count, unsigned int seed)
{
    std::string bytes(count, '\0');
    unsigned int state = seed;
    for (size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::vector<ListedPluginRow> ReadPluginRows(HWND list)
{
    std::vector<ListedPluginRow> rows;
    DWORD_PTR count = 0;
    if (!list || !SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &count))
        return rows;
    for (int row = 0; row < static_cast<int>(count); ++row) {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK, SMTO_NORMAL, STEP_HANG_GUARD_MS, &state);
        rows.push_back({TextOfCell(list, row, 0), TextOfCell(list, row, 1), TextOfCell(list, row, 2),
                        TextOfCell(list, row, 3), (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)});
    }
    return rows;
}

FixtureFile PluginFile(const std::string &relativePath, const std::string &content)
{
    FixtureFile file;
    file.RelativePath = relativePath;
    file.Content = content;
    return file;
}

const char STANDARD_INI[] =
    "[Configuration]\r\n"
    "InstallDir=C:\\Veltrano\r\n"
    "[PackerPlugins]\r\n"
    "arc=21,%VELTRANO_PATH%\\plugins\\arc\\arc.vpx\r\n"
    "[ListerPlugins]\r\n"
    "0=%VELTRANO_PATH%\\plugins\\img\\imgview.vlx\r\n";

DesktopDescription StandardDesktop(const std::string &mainIni)
{
    DesktopDescription desktop;
    desktop.MainIni = mainIni;
    desktop.HasFtpIni = true;
    desktop.FtpIni = "[connections]\r\n";
    desktop.Files = {
        PluginFile("plugins\\arc\\arc.vpx", "arc plugin"),
        PluginFile("plugins\\arc\\doc\\readme.txt", "read me"),
        PluginFile("plugins\\img\\imgview.vlx", "image viewer"),
        PluginFile("extra1.ini", "[one]\r\n"),
        PluginFile("extra2.ini", "[two]\r\n"),
    };
    return desktop;
}

std::vector<std::string> StandardDeviceTree()
{
    return {"Plugins\\",
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
            "vtmain.ini"};
}

std::vector<std::string> TreeEdited(std::vector<std::string> tree, const std::vector<std::string> &added,
                                    const std::vector<std::string> &removed)
{
    for (const std::string &entry : removed) {
        std::vector<std::string>::iterator found = std::find(tree.begin(), tree.end(), entry);
        EXPECT_TRUE(found != tree.end()) << entry << " is not in the tree to remove";
        if (found != tree.end())
            tree.erase(found);
    }
    tree.insert(tree.end(), added.begin(), added.end());
    std::sort(tree.begin(), tree.end());
    return tree;
}

void ExpectCompletedWithoutBoxes(const RunOutcome &run)
{
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ("Installation complete!", run.OutcomeText);
    EXPECT_TRUE(run.Boxes.empty());
}

void ExpectStandardPluginRows(const RunOutcome &run, const char *why)
{
    ASSERT_EQ(2u, run.PluginRows.size()) << why;
    EXPECT_EQ("Packer: arc", run.PluginRows[0].Label);
    EXPECT_EQ("Lister: 0: imgview", run.PluginRows[1].Label);
}

std::vector<KeptFile> StandardKeptFiles()
{
    return {{"extra1.ini", "[device]\r\nkept=1\r\n"},
            {"Plugins\\vpx\\arc\\arc.vpx", "arc plugin"},
            {"Plugins\\vpx\\arc\\doc\\readme.txt", "read me, as an earlier run left it"}};
}

void HostileTest::SetUp()
{
    ResetInstallState();
    GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
}

void HostileTest::Prepare(const DesktopDescription &desktop, const std::string &device)
{
    Files = BuildFixture(desktop);
    ASSERT_FALSE(Files.Root.empty()) << "no fixture root";
    Device = device.empty() ? Files.DeviceDir : device;
    ExportInstallVariables(Files.DesktopDir, Device);
    PointInstallStateAt(Files.DesktopDir, Device);
    for (const KeptFile &kept : Kept)
        WriteFileBytes(Device + "\\" + kept.RelativePath, kept.Content);
    prepared_ = true;
    TakeChecksums();
}

void HostileTest::TakeChecksums()
{
    desktopBefore_ = TreeChecksum(Files.DesktopDir);
    registryBefore_ = SnapshotVeltranoRegistry();
    outsideBefore_ = TreeChecksum(Files.Root, Files.DeviceDir);
    placesBefore_ = PlacesOutsideChecksum(Files.Root);
}

void HostileTest::TearDown()
{
    SetCurrentDirectoryA(savedDirectory_);
    if (prepared_) {
        EXPECT_EQ(desktopBefore_, TreeChecksum(Files.DesktopDir)) << "the desktop installation changed";
        EXPECT_EQ(registryBefore_, SnapshotVeltranoRegistry()) << "the desktop registry values changed";
        EXPECT_EQ(outsideBefore_, TreeChecksum(Files.Root, Files.DeviceDir))
            << "something was written beside the device directory";
        EXPECT_EQ(placesBefore_, PlacesOutsideChecksum(Files.Root))
            << "something was written to the Windows directory, C:\\ or the temporary directory";
        for (const KeptFile &kept : Kept) {
            std::string content;
            EXPECT_TRUE(ReadFileBytes(Device + "\\" + kept.RelativePath, &content)) << kept.RelativePath << " is gone";
            EXPECT_EQ(kept.Content, content) << kept.RelativePath << " was replaced";
        }
    }
    ExportInstallVariables("", "");
    // Through the Linux side: links are removed, not followed, and long paths go too.
    if (!Files.Root.empty())
        RemoveTree(Files.Root);
    for (const std::string &root : ExtraRoots)
        RemoveTree(root);
    ExtraRoots.clear();
    prepared_ = false;
}

RunOutcome HostileTest::RunWizardAgain(const RunChoices &choices)
{
    ResetInstallState();
    PointInstallStateAt(Files.DesktopDir, Device);
    return RunWizard(choices);
}

IniFile HostileTest::Portable() const
{
    return PortableIni(Device);
}

namespace {

// Presses Cancel from the wizard's own thread the moment the status line starts with a mark: the
// press is then queued at a fixed point of the run, as a click the run's next pump takes, however
// the test's threads are scheduled. (Reading the status from the driver's thread and pressing
// from there would let any number of rows pass in between on a loaded machine.)
HHOOK CancelHook;
HWND CancelSheet;
std::string CancelMark;
std::string CancelStatus;
LONG CancelPosted;

LRESULT CALLBACK WatchStatusLine(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_SETTEXT && GetDlgCtrlID(sent->hwnd) == IDC_STATUS_LINE &&
        sent->lParam && !CancelPosted) {
        const char *text = reinterpret_cast<const char *>(sent->lParam);
        if (strncmp(text, CancelMark.c_str(), CancelMark.size()) == 0) {
            CancelStatus = text;
            PostMessageA(CancelSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            InterlockedExchange(&CancelPosted, 1);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

bool CancelPressed()
{
    return InterlockedCompareExchange(&CancelPosted, 0, 0) != 0;
}

// Watches the status line while it lives, when mark is not empty.
struct CancelOnStatus {
    CancelOnStatus(HWND sheet, const std::string &mark)
    {
        CancelPosted = 0;
        CancelStatus.clear();
        if (mark.empty())
            return;
        CancelSheet = sheet;
        CancelMark = mark;
        CancelHook = SetWindowsHookExA(WH_CALLWNDPROC, WatchStatusLine, NULL,
                                       GetWindowThreadProcessId(sheet, NULL));
        EXPECT_TRUE(CancelHook != NULL) << "cannot watch the status line";
    }
    ~CancelOnStatus()
    {
        if (CancelHook)
            UnhookWindowsHookEx(CancelHook);
        CancelHook = NULL;
    }
};

}  // namespace

RunOutcome HostileTest::RunWizardAnswering(const std::vector<int> &boxAnswers)
{
    RunChoices choices;
    choices.BoxAnswers = boxAnswers;
    return RunWizard(choices);
}

RunOutcome HostileTest::RunWizard(const RunChoices &choices)
{
    RunOutcome outcome;
    RunDrivenWizard([&](WizardDriver &wizard) {
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_LANGUAGE);
        wizard.SelectComboRow(IDC_LANGUAGE_LIST, choices.LanguageRow);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_SOURCE);
        if (choices.CopySettings)
            wizard.Click(IDC_COPY_SETTINGS);
        if (choices.CopySettings && choices.CopyPlugins)
            wizard.Click(IDC_COPY_PLUGINS);
        wizard.PostPress(BUTTON_NEXT);
        if (choices.CopySettings && choices.CopyPlugins) {
            ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.CurrentTemplate() == IDD_PLUGINS; },
                                         "the plugin page to be filled and shown", choices.PageWaitMs));
            wizard.Settle();
            HWND list = wizard.PluginList();
            if (choices.OnPluginPage)
                choices.OnPluginPage(wizard, list);
            else
                wizard.Click(IDC_CHECK_ALL);
            outcome.CheckedTotal = wizard.Text(IDC_CHECKED_TOTAL);
            outcome.FreeSpace = wizard.Text(IDC_FREE_SPACE);
            wizard.Next();
            ASSERT_EQ(wizard.CurrentTemplate(), IDD_SETTINGS_FILES);
            if (choices.CheckAllSettingsFiles)
                wizard.Click(IDC_CHECK_ALL);
            wizard.Next();
        } else {
            wizard.Settle();
        }
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_SUMMARY);
        CancelOnStatus cancel(wizard.Sheet(), choices.CancelWhenStatusStartsWith);
        wizard.Next();
        ASSERT_EQ(wizard.CurrentTemplate(), IDD_PROGRESS);

        size_t answered = 0;
        DWORD start = GetTickCount();
        while (!wizard.ButtonUsable(BUTTON_FINISH)) {
            ASSERT_LT(GetTickCount() - start, choices.RunWaitMs) << "the installation run did not end";
            if (CancelPressed()) {
                outcome.StatusLine = CancelStatus;
                outcome.ClosedOnCancel = wizard.WaitForClose();
                return;
            }
            std::vector<HWND> boxes = wizard.OpenDialogs();
            if (boxes.empty()) {
                Sleep(10);
                continue;
            }
            DialogSeen box;
            box.Window = boxes.front();
            box.Caption = wizard.TextOf(box.Window);
            box.Text = wizard.TextOf(GetDlgItem(box.Window, 0xFFFF));
            outcome.Boxes.push_back(box);
            if (answered >= choices.BoxAnswers.size()) {
                ADD_FAILURE() << "unexpected box \"" << box.Text << "\" captioned " << box.Caption;
                wizard.Answer(box, IDCANCEL);
            } else {
                wizard.Answer(box, choices.BoxAnswers[answered++]);
            }
        }
        wizard.Settle();
        outcome.Finished = true;
        outcome.OutcomeText = wizard.Text(IDC_FIRST_PLAIN_LABEL);
        outcome.StatusLine = wizard.Text(IDC_STATUS_LINE);
        outcome.PluginRows = ReadPluginRows(wizard.PluginList());
        wizard.Finish();
        wizard.WaitForClose();
    });
    EXPECT_EQ(std::vector<std::string>(), RegistrationsNamingNoDeviceFile(Device))
        << "registrations that name no file on the device";
    EXPECT_EQ(std::vector<std::string>(),
              RegistrationsNotCopiedFromTheirSource(Device, InstallState.SourceIniPath, outcome.PluginRows))
        << "registrations whose file is not a copy of their own plugin";
    return outcome;
}

}  // namespace hostile
