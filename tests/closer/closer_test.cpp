// stickclose.exe run as a real process against fake main windows (fake_peer.exe), each logging
// what it received. Orders and counts come from the peer logs. Durations are checked from below
// (the closer's own waits); from above only against bounds a slow machine never reaches.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "protocol.h"
#include "support/files.h"
#include "support/temp_directory.h"
#include "support/process.h"

namespace {

// Added to an upper bound that must tell a request bound the closer keeps from one it does not:
// many times any delay a loaded machine adds, far below the peers' lifetime.
const DWORD SLACK_MS = 30000;
// The closer's fixed waits, as seen from outside (lower bounds leave room for timer granularity).
const DWORD PROBE_WAIT_MS = 500;
const DWORD TIMER_TOLERANCE_MS = 40;
const DWORD CLOSE_TREATMENT_MS = 250;  // five dialog attempts of 50 ms, no dialogs
const int PROBE_PASSES = 5;

struct LogEvent {
    DWORD Tick = 0;
    DWORD MessageTime = 0;
    std::string Role;
    std::string What;

    std::string Name() const { return Role + " " + What; }
};

typedef std::vector<LogEvent> PeerLog;

struct Peer {
    std::string Label;
    std::string LogPath;
    PROCESS_INFORMATION Process = {};
    bool Started = false;
    std::string ReportedClass;
};

struct CloserRun {
    DWORD ExitCode = 99;
    DWORD DurationMs = 0;  // from the process's own creation and exit times
};

PeerLog ParseLog(const std::string &text)
{
    PeerLog log;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break;  // a line still being written
        std::string line = text.substr(start, end - start);
        start = end + 1;
        unsigned long tick = 0, messageTime = 0;
        char role[64] = "", what[400] = "";
        if (sscanf(line.c_str(), "%lu %lu %63s %399[^\r\n]", &tick, &messageTime, role, what) == 4) {
            LogEvent event;
            event.Tick = tick;
            event.MessageTime = messageTime;
            event.Role = role;
            event.What = what;
            log.push_back(event);
        }
    }
    return log;
}

bool IsReadyLine(const LogEvent &event)
{
    return event.Role == "main" && event.What.compare(0, 6, "ready ") == 0;
}

// Everything the peer received after it was ready, in order.
PeerLog ReceivedEvents(const Peer &peer)
{
    PeerLog received;
    for (const LogEvent &event : ParseLog(ReadWholeFile(peer.LogPath))) {
        if (!IsReadyLine(event))
            received.push_back(event);
    }
    return received;
}

// The events' names, without the ones whose place is left open (key releases, window ends).
std::vector<std::string> Sequence(const PeerLog &log)
{
    std::vector<std::string> names;
    for (const LogEvent &event : log) {
        if (event.What != "esc_up" && event.What != "destroyed")
            names.push_back(event.Name());
    }
    return names;
}

std::vector<std::string> WithoutKeys(const std::vector<std::string> &names)
{
    std::vector<std::string> kept;
    for (const std::string &name : names) {
        if (name.find(" esc_") == std::string::npos)
            kept.push_back(name);
    }
    return kept;
}

PeerLog Only(const PeerLog &log, const std::string &name)
{
    PeerLog found;
    for (const LogEvent &event : log) {
        if (event.Name() == name)
            found.push_back(event);
    }
    return found;
}

std::vector<std::string> Repeat(const std::vector<std::string> &part, int times)
{
    std::vector<std::string> whole;
    for (int i = 0; i < times; i++)
        whole.insert(whole.end(), part.begin(), part.end());
    return whole;
}

std::vector<std::string> Joined(std::vector<std::vector<std::string>> parts)
{
    std::vector<std::string> whole;
    for (const std::vector<std::string> &part : parts)
        whole.insert(whole.end(), part.begin(), part.end());
    return whole;
}

DWORD FileTimeMs(const FILETIME &time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<DWORD>(value.QuadPart / 10000);
}

bool IsRunning(const Peer &peer)
{
    return WaitForSingleObject(peer.Process.hProcess, 0) == WAIT_TIMEOUT;
}

// An impostor (a window of the class that fails the identity check) is pinged in every pass and
// never closed: its log counts the passes.
const char IMPOSTOR[] = "--identity 0";

// What a window without dialogs receives in one pass.
const std::vector<std::string> PING_IDENTIFY = {"main ping", "main identify"};
const std::vector<std::string> CLOSE_PASS = {"main ping", "main identify", "main sc_close"};
const std::vector<std::string> FINAL_PASS = {"main ping", "main identify", "main final"};

class CloserTest : public testing::Test {
protected:
    std::vector<std::unique_ptr<Peer>> Peers;

    void TearDown() override
    {
        // Every peer goes, whatever the test's outcome.
        for (std::unique_ptr<Peer> &peer : Peers) {
            if (!peer->Started)
                continue;
            TerminateProcess(peer->Process.hProcess, 99);
            if (HasFailure())
                printf("log of peer %s:\n%s", peer->Label.c_str(), ReadWholeFile(peer->LogPath).c_str());
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(peer->Process.hProcess, PROCESS_HANG_GUARD_MS))
                << "peer " << peer->Label << " did not end when killed";
            CloseHandle(peer->Process.hProcess);
            CloseHandle(peer->Process.hThread);
            DeleteFileA(peer->LogPath.c_str());
        }
        Peers.clear();
    }

    // Starts fake_peer.exe with the given options and waits until its windows are up.
    void StartPeer(const std::string &options, Peer **started = NULL)
    {
        const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
        std::unique_ptr<Peer> peer(new Peer);
        peer->Label = std::to_string(Peers.size() + 1) + " (" + options + ")";
        std::string testName = std::string(test->test_suite_name()) + "_" + test->name();
        std::replace(testName.begin(), testName.end(), '/', '_');
        peer->LogPath = TempDirectory() + "closer_" + testName + "_" + std::to_string(Peers.size() + 1) + ".log";
        DeleteFileA(peer->LogPath.c_str());
        std::string commandLine =
            "\"" + ProgramBesideTest("fake_peer.exe") + "\" \"" + peer->LogPath + "\" " + options;
        Peer *current = peer.get();
        Peers.push_back(std::move(peer));
        ASSERT_TRUE(StartProgram(commandLine, NULL, &current->Process)) << "could not start " << commandLine;
        current->Started = true;
        DWORD start = GetTickCount();
        for (;;) {
            for (const LogEvent &event : ParseLog(ReadWholeFile(current->LogPath))) {
                if (IsReadyLine(event))
                    current->ReportedClass = event.What.substr(6);
            }
            if (!current->ReportedClass.empty())
                break;
            ASSERT_TRUE(IsRunning(*current)) << "peer " << current->Label << " ended before it was ready";
            ASSERT_LT(GetTickCount() - start, PROCESS_HANG_GUARD_MS)
                << "peer " << current->Label << " did not log \"ready\" within " << PROCESS_HANG_GUARD_MS << " ms";
            Sleep(10);
        }
        if (started)
            *started = current;
    }

    // How long a program started with commandLine ran, from its own creation and exit times.
    DWORD RunToEnd(const std::string &commandLine, DWORD *exitCode)
    {
        PROCESS_INFORMATION process = {};
        if (!StartProgram(commandLine, NULL, &process)) {
            ADD_FAILURE() << "could not start " << commandLine;
            return INFINITE;
        }
        BOOL ended = WaitForExit(process.hProcess, PROCESS_HANG_GUARD_MS, exitCode);
        FILETIME created, exited, kernel, user;
        DWORD duration = INFINITE;
        if (ended && GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user))
            duration = FileTimeMs(exited) - FileTimeMs(created);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        EXPECT_TRUE(ended) << commandLine << " did not end within " << PROCESS_HANG_GUARD_MS << " ms";
        return duration;
    }

    void RunCloser(CloserRun *run)
    {
        std::string commandLine = "\"" + ProgramBesideTest("stickclose.exe") + "\"";
        run->DurationMs = RunToEnd(commandLine, &run->ExitCode);
        ASSERT_NE(INFINITE, run->DurationMs) << "the closer did not run to its end";
        EXPECT_EQ(0u, run->ExitCode);
        printf("%s: the closer ran %lu ms\n", testing::UnitTest::GetInstance()->current_test_info()->name(),
               static_cast<unsigned long>(run->DurationMs));
    }

    void ExpectPeerEnds(const Peer &peer)
    {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(peer.Process.hProcess, PROCESS_HANG_GUARD_MS))
            << "peer " << peer.Label << " was not closed";
    }
};

// ---------------------------------------------------------------------------------------------
// Class names. Class names are atoms shared without regard to case: a name differing only in case
// is itself only while no window of the genuine class is up, so these peers run alone.

class ForeignClassTest : public CloserTest, public testing::WithParamInterface<std::string> {};

TEST_P(ForeignClassTest, WindowIsNeverSentAnything)
{
    const std::string className = GetParam();
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer("--class " + className, &peer));
    ASSERT_EQ(className, peer->ReportedClass)
        << "the platform reports another class name (an atom of a genuine window still lives)";
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    EXPECT_TRUE(ReceivedEvents(*peer).empty()) << "the window of class " << className << " received something";
    EXPECT_TRUE(IsRunning(*peer));
}

INSTANTIATE_TEST_SUITE_P(CloserClassNames, ForeignClassTest,
                         testing::Values("tvelt_main", "Tvelt_Main", "TVELT_MAIn", "TVELT_MAINX", "TVELT_MAIN2",
                                         "TVELT_MAIN_", "TVELT_MAI", "XTVELT_MAIN",
                                         "TVELT_MAIN" + std::string(240, 'Z')));

// ---------------------------------------------------------------------------------------------

// With no window there is nothing to do: the run ends by itself, with code 0 (RunCloser's hang
// guard and exit check). How soon it ends is the closer benchmark's to measure, beside a program
// that ends at once.
TEST_F(CloserTest, WithoutAnyWindowEndsByItself)
{
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
}

class WrongIdentityTest : public CloserTest, public testing::WithParamInterface<const char *> {};

TEST_P(WrongIdentityTest, IsPingedButNeverClosedNorProbed)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(std::string("--identity ") + GetParam(), &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    // One ping only: a probe pass would have pinged it again.
    EXPECT_EQ(PING_IDENTIFY, Sequence(ReceivedEvents(*peer)));
    EXPECT_TRUE(IsRunning(*peer));
}

// No answer at all, a near miss, and the request echoed back.
INSTANTIATE_TEST_SUITE_P(CloserIdentity, WrongIdentityTest, testing::Values("0", "23452740", "63215781"));

TEST_F(CloserTest, WellBehavedWindowIsClosedAndOneProbeFindsNothing)
{
    Peer *peer = NULL, *counter = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(IMPOSTOR, &counter));
    ASSERT_NO_FATAL_FAILURE(StartPeer("", &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    ExpectPeerEnds(*peer);
    PeerLog log = ReceivedEvents(*peer);
    ASSERT_EQ(CLOSE_PASS, Sequence(log));
    // Five empty dialog attempts lie between the identity check and the close request.
    EXPECT_GE(Only(log, "main sc_close")[0].Tick - Only(log, "main identify")[0].Tick,
              CLOSE_TREATMENT_MS - TIMER_TOLERANCE_MS);
    // The close pass, one probe wait and one probe pass that found nothing and ended the run.
    EXPECT_GE(run.DurationMs, CLOSE_TREATMENT_MS + PROBE_WAIT_MS - TIMER_TOLERANCE_MS);
    EXPECT_EQ(Repeat(PING_IDENTIFY, 2), Sequence(ReceivedEvents(*counter)));
}

TEST_F(CloserTest, WindowThatNeverClosesGetsFiveProbesThenOneFinalRequest)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer("--never-close", &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    PeerLog log = ReceivedEvents(*peer);
    EXPECT_EQ(Joined({CLOSE_PASS, Repeat(PING_IDENTIFY, PROBE_PASSES), FINAL_PASS}), Sequence(log));
    PeerLog pings = Only(log, "main ping");
    ASSERT_EQ(static_cast<size_t>(PROBE_PASSES + 2), pings.size());
    EXPECT_GE(pings[1].Tick - pings[0].Tick, CLOSE_TREATMENT_MS + PROBE_WAIT_MS - TIMER_TOLERANCE_MS);
    for (int probe = 2; probe <= PROBE_PASSES; probe++) {
        DWORD gap = pings[probe].Tick - pings[probe - 1].Tick;
        EXPECT_GE(gap, PROBE_WAIT_MS - TIMER_TOLERANCE_MS) << "before probe pass " << probe;
    }
    EXPECT_GE(run.DurationMs, CLOSE_TREATMENT_MS + PROBE_PASSES * PROBE_WAIT_MS - TIMER_TOLERANCE_MS);
    EXPECT_TRUE(IsRunning(*peer));
}

TEST_F(CloserTest, WindowClosingLateIsProbedUntilGone)
{
    Peer *late = NULL, *counter = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(IMPOSTOR, &counter));
    ASSERT_NO_FATAL_FAILURE(StartPeer("--close-delay 1250", &late));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    ExpectPeerEnds(*late);
    PeerLog log = ReceivedEvents(*late);
    EXPECT_TRUE(Only(log, "main final").empty());
    EXPECT_EQ(1u, Only(log, "main sc_close").size());
    PeerLog destroyed = Only(log, "main destroyed");
    ASSERT_EQ(1u, destroyed.size());
    size_t passesBefore = 0, passesAfter = 0;
    for (const LogEvent &ping : Only(ReceivedEvents(*counter), "main ping"))
        (ping.Tick < destroyed[0].Tick ? passesBefore : passesAfter)++;
    // Every pass while the window was there confirmed it (the first probe comes 500 ms after the
    // close request, well before it went); the first pass after it went found nothing and ended the run.
    EXPECT_GE(passesBefore, 2u);
    EXPECT_EQ(passesBefore, Only(log, "main ping").size());
    EXPECT_EQ(1u, passesAfter);
}

// ---------------------------------------------------------------------------------------------
// Dialogs: one is dealt with per attempt, five attempts, then the main window is asked to close.

struct DialogCase {
    const char *Name;
    const char *Options;
    std::vector<std::string> Treatment;  // what the dialogs and the main window get after identify
};

void PrintTo(const DialogCase &dialogCase, std::ostream *out)
{
    *out << dialogCase.Options;
}

class DialogTest : public CloserTest, public testing::WithParamInterface<DialogCase> {};

TEST_P(DialogTest, DialogsAreDismissedOnePerAttemptBeforeTheWindowCloses)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(GetParam().Options, &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    ExpectPeerEnds(*peer);
    PeerLog log = ReceivedEvents(*peer);
    EXPECT_EQ(Joined({PING_IDENTIFY, GetParam().Treatment}), Sequence(log));
    // Attempts are at least 100 ms (Escape) plus 50 ms apart.
    PeerLog escapes;
    for (const LogEvent &event : log) {
        if (event.What == "esc_down")
            escapes.push_back(event);
    }
    for (size_t i = 1; i < escapes.size(); i++) {
        EXPECT_GE(escapes[i].MessageTime - escapes[i - 1].MessageTime, 150 - TIMER_TOLERANCE_MS)
            << "between Escape " << i << " and " << i + 1;
    }
    // A dialog still there after its Escape gets SC_CLOSE 100 ms later.
    for (const LogEvent &event : log) {
        if (event.Role == "main" || event.What != "sc_close")
            continue;
        DWORD lastEscape = 0;
        for (const LogEvent &escape : escapes) {
            if (escape.Role == event.Role && escape.Tick <= event.Tick)
                lastEscape = escape.MessageTime;
        }
        EXPECT_GE(event.Tick - lastEscape, 100 - TIMER_TOLERANCE_MS) << event.Role;
    }
}

const std::vector<std::string> DIALOG_IGNORING_ALL = {"dialog1 esc_down", "dialog1 sc_close"};

INSTANTIATE_TEST_SUITE_P(
    CloserDialogs, DialogTest,
    testing::Values(DialogCase{"ClosesOnEscape", "--dialogs 1", {"dialog1 esc_down", "main sc_close"}},
                    DialogCase{"ThreeNested",
                               "--dialogs 3",
                               {"dialog3 esc_down", "dialog2 esc_down", "dialog1 esc_down", "main sc_close"}},
                    DialogCase{"SixNestedFiveDismissed",
                               "--dialogs 6",
                               {"dialog6 esc_down", "dialog5 esc_down", "dialog4 esc_down", "dialog3 esc_down",
                                "dialog2 esc_down", "main sc_close"}},
                    DialogCase{"IgnoresEscapeClosesOnSysClose",
                               "--dialogs 1 --dialog-close-on sc-close",
                               {"dialog1 esc_down", "dialog1 sc_close", "main sc_close"}},
                    DialogCase{"NestedIgnoringEscape",
                               "--dialogs 2 --dialog-close-on sc-close",
                               {"dialog2 esc_down", "dialog2 sc_close", "dialog1 esc_down", "dialog1 sc_close",
                                "main sc_close"}},
                    DialogCase{"NeverCloses",
                               "--dialogs 1 --dialog-close-on nothing",
                               Joined({Repeat(DIALOG_IGNORING_ALL, 5), {"main sc_close"}})}),
    [](const testing::TestParamInfo<DialogCase> &info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------------------------
// A window whose thread is held when the ping comes: Escape held on it before the identity check.

TEST_F(CloserTest, HeldWindowGetsEscapeReleaseBeforeIdentify)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer("--slow-pings 1 --slow-ping-ms 800", &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    ExpectPeerEnds(*peer);
    PeerLog log = ReceivedEvents(*peer);
    ASSERT_EQ(std::vector<std::string>({"main ping", "main esc_down", "main identify", "main sc_close"}), Sequence(log));
    PeerLog down = Only(log, "main esc_down"), up = Only(log, "main esc_up"), identify = Only(log, "main identify");
    ASSERT_EQ(1u, down.size());
    ASSERT_EQ(1u, up.size());
    ASSERT_EQ(1u, identify.size());
    DWORD ping = Only(log, "main ping")[0].Tick;
    EXPECT_GE(down[0].MessageTime - ping, PING_TIMEOUT_MS - TIMER_TOLERANCE_MS) << "Escape before the ping ran out";
    EXPECT_GE(up[0].MessageTime - down[0].MessageTime, 500 - TIMER_TOLERANCE_MS) << "Escape not held 500 ms";
    EXPECT_LE(up[0].MessageTime, identify[0].Tick) << "identify sent before Escape came up";
}

TEST_F(CloserTest, EscapeReleaseRepeatsOnlyInPassesWhereThePingFails)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer("--never-close --slow-pings 2 --slow-ping-ms 800", &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    PeerLog log = ReceivedEvents(*peer);
    EXPECT_EQ(Joined({{"main ping", "main esc_down", "main identify", "main sc_close"},
                      {"main ping", "main esc_down", "main identify"},
                      Repeat(PING_IDENTIFY, PROBE_PASSES - 1),
                      FINAL_PASS}),
              Sequence(log));
    EXPECT_EQ(2u, Only(log, "main esc_up").size());
}

// A genuine window whose thread has read no messages for so long that the platform counts it as
// hung (it is saving a large file, say), and that wakes while the closer runs: the ping fails at
// once, but the identity query waits for the window, which is then confirmed and closed. The
// window wakes when the first message is sent to it, the identity query.
TEST_F(CloserTest, BusyWindowThatWakesIsConfirmedAndClosed)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer("--busy-until-sent", &peer));
    HWND window = FindWindowA(VELTRANO_MAIN_CLASS, NULL);
    ASSERT_TRUE(window != NULL);
    DWORD waitStart = GetTickCount();
    while (!IsHungAppWindow(window)) {
        ASSERT_LT(GetTickCount() - waitStart, PROCESS_HANG_GUARD_MS)
            << "the busy window was not counted as hung within " << PROCESS_HANG_GUARD_MS << " ms";
        Sleep(50);
    }
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    ExpectPeerEnds(*peer);
    EXPECT_EQ(std::vector<std::string>({"main awake", "main identify", "main sc_close"}),
              WithoutKeys(Sequence(ReceivedEvents(*peer))))
        << "the hung window's ping fails at once; the identity query waits until it wakes";
}

// ---------------------------------------------------------------------------------------------
// Several windows in one pass.

TEST_F(CloserTest, SeveralWindowsAreEachHandledCompletelyInOnePass)
{
    Peer *plain = NULL, *withDialog = NULL, *held = NULL, *counter = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(IMPOSTOR, &counter));
    ASSERT_NO_FATAL_FAILURE(StartPeer("", &plain));
    ASSERT_NO_FATAL_FAILURE(StartPeer("--dialogs 1", &withDialog));
    ASSERT_NO_FATAL_FAILURE(StartPeer("--slow-pings 1 --slow-ping-ms 800", &held));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    for (Peer *peer : {plain, withDialog, held})
        ExpectPeerEnds(*peer);
    // Escape reaches a dialog reliably only when its program is in the foreground already: the
    // platform hands the keyboard focus to another program's window asynchronously. A dialog the
    // Escape missed gets SC_CLOSE in the same attempt.
    // The close pass and one probe pass that found nothing.
    EXPECT_EQ(Repeat(PING_IDENTIFY, 2), Sequence(ReceivedEvents(*counter)));
    EXPECT_EQ(CLOSE_PASS, WithoutKeys(Sequence(ReceivedEvents(*plain))));
    EXPECT_EQ(CLOSE_PASS, WithoutKeys(Sequence(ReceivedEvents(*held))));
    std::vector<std::string> dialogSequence = Sequence(ReceivedEvents(*withDialog));
    std::vector<std::string> byEscape = Joined({PING_IDENTIFY, {"dialog1 esc_down", "main sc_close"}});
    std::vector<std::string> byClose = Joined({PING_IDENTIFY, {"dialog1 sc_close", "main sc_close"}});
    EXPECT_TRUE(dialogSequence == byEscape || dialogSequence == byClose)
        << "the dialog was not dismissed by one attempt: " << testing::PrintToString(dialogSequence);
    PeerLog dialogGone = Only(ReceivedEvents(*withDialog), "dialog1 destroyed");
    PeerLog mainClosed = Only(ReceivedEvents(*withDialog), "main sc_close");
    ASSERT_EQ(1u, dialogGone.size());
    ASSERT_EQ(1u, mainClosed.size());
    EXPECT_LE(dialogGone[0].Tick, mainClosed[0].Tick);
    // The held window's Escape, wherever it went, came before its identity check.
    PeerLog heldIdentify = Only(ReceivedEvents(*held), "main identify");
    ASSERT_EQ(1u, heldIdentify.size());
    for (const LogEvent &event : ReceivedEvents(*held)) {
        if (event.What == "esc_down" || event.What == "esc_up") {
            EXPECT_LE(event.MessageTime, heldIdentify[0].Tick);
        }
    }

    // In enumeration order, a window's treatment is over before the next one is pinged.
    std::vector<PeerLog> logs;
    for (Peer *peer : {plain, withDialog, held}) {
        logs.push_back(ReceivedEvents(*peer));
        ASSERT_FALSE(Only(logs.back(), "main ping").empty()) << peer->Label << " was never pinged";
    }
    std::sort(logs.begin(), logs.end(), [](const PeerLog &a, const PeerLog &b) {
        return Only(a, "main ping")[0].Tick < Only(b, "main ping")[0].Tick;
    });
    for (size_t i = 1; i < logs.size(); i++) {
        DWORD nextPing = Only(logs[i], "main ping")[0].Tick;
        const PeerLog &previous = logs[i - 1];
        ASSERT_EQ(1u, Only(previous, "main identify").size());
        EXPECT_GE(nextPing - Only(previous, "main identify")[0].Tick, CLOSE_TREATMENT_MS - TIMER_TOLERANCE_MS)
            << "window " << i + 1 << " was pinged during the dialog attempts of window " << i;
        for (const LogEvent &event : previous) {
            if (event.What == "esc_down" || event.What == "esc_up") {
                EXPECT_LE(event.MessageTime, nextPing) << "window " << i << " got " << event.Name() << " late";
            }
        }
    }
}

TEST_F(CloserTest, OneConfirmedWindowKeepsProbingAndImpostorIsNeverClosed)
{
    Peer *impostor = NULL, *stubborn = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(IMPOSTOR, &impostor));
    ASSERT_NO_FATAL_FAILURE(StartPeer("--never-close", &stubborn));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    EXPECT_EQ(Joined({CLOSE_PASS, Repeat(PING_IDENTIFY, PROBE_PASSES), FINAL_PASS}),
              Sequence(ReceivedEvents(*stubborn)));
    // Pinged and asked in every pass, but nothing more.
    EXPECT_EQ(Repeat(PING_IDENTIFY, PROBE_PASSES + 2), Sequence(ReceivedEvents(*impostor)));
}

// ---------------------------------------------------------------------------------------------
// Windows that take a request and never answer: the closer gives up after its bound.

struct HangCase {
    const char *Name;
    const char *Options;
    std::vector<std::string> Received;
    DWORD FixedWaitsMs;  // the closer's own waits in such a run
};

void PrintTo(const HangCase &hangCase, std::ostream *out)
{
    *out << hangCase.Options;
}

class HangTest : public CloserTest, public testing::WithParamInterface<HangCase> {};

TEST_P(HangTest, CloserEndsWithinItsBound)
{
    Peer *peer = NULL;
    ASSERT_NO_FATAL_FAILURE(StartPeer(GetParam().Options, &peer));
    CloserRun run;
    ASSERT_NO_FATAL_FAILURE(RunCloser(&run));
    EXPECT_EQ(GetParam().Received, Sequence(ReceivedEvents(*peer)));
    EXPECT_GE(run.DurationMs, GetParam().FixedWaitsMs + REQUEST_REPLY_TIMEOUT_MS - TIMER_TOLERANCE_MS);
    EXPECT_LT(run.DurationMs, GetParam().FixedWaitsMs + REQUEST_REPLY_TIMEOUT_MS + SLACK_MS);
}

INSTANTIATE_TEST_SUITE_P(
    CloserHangs, HangTest,
    testing::Values(HangCase{"IdentifyNeverAnswered", "--identity hang", PING_IDENTIFY, 0},
                    HangCase{"FinalNeverAnswered",
                             "--never-close --final-hang",
                             Joined({CLOSE_PASS, Repeat(PING_IDENTIFY, PROBE_PASSES), FINAL_PASS}),
                             CLOSE_TREATMENT_MS + PROBE_PASSES * PROBE_WAIT_MS}),
    [](const testing::TestParamInfo<HangCase> &info) { return std::string(info.param.Name); });

}  // namespace
