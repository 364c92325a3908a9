// The Windows side of scripts/demo. It starts the programs as the U3 platform would (with the
// environment it was given) and, for the headless demo, works the wizard from outside.
//
//   demo_drive open INSTALLER                      the wizard for the user; waits until it closes
//   demo_drive typical INSTALLER DESKTOP SHOTS     the typical run, a screenshot of every page
//   demo_drive close PEER CLOSER LOGS              two fake main windows, then the closer
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource.h"
#include "support/process.h"
#include "support/unix_side.h"
#include "support/files.h"
#include "support/tree_snapshot.h"
#include "typical_run.h"

namespace {

const DWORD USER_WAIT_MS = 3600 * 1000;

struct PageShot {
    int TemplateId;
    const char *FileName;
};

const PageShot PAGE_SHOTS[] = {
    {IDD_WELCOME, "1-welcome.png"},        {IDD_LANGUAGE, "2-language.png"},
    {IDD_SETTINGS_SOURCE, "3-settings.png"}, {IDD_PLUGINS, "4-plugins.png"},
    {IDD_SETTINGS_FILES, "5-settings-files.png"}, {IDD_SUMMARY, "6-summary.png"},
    {IDD_PROGRESS, "7-progress.png"},
};

int Usage()
{
    fprintf(stderr, "usage: demo_drive open INSTALLER | typical INSTALLER DESKTOP SHOTS | close PEER CLOSER LOGS\n");
    return 2;
}

int Open(const std::string &installer)
{
    InstallerDriver driver;
    if (!driver.Start(installer, {})) {
        fprintf(stderr, "%s\n", driver.Failure().c_str());
        return 1;
    }
    DWORD code = 99;
    if (!driver.WaitForExit(&code, USER_WAIT_MS)) {
        fprintf(stderr, "%s\n", driver.Failure().c_str());
        return 1;
    }
    printf("stickinstall.exe ended with exit code %lu\n", static_cast<unsigned long>(code));
    return 0;
}

// What the screen shows, through ImageMagick on the X display the wizard is on.
bool SaveScreen(InstallerDriver &driver, const std::string &path)
{
    RedrawWindow(driver.Sheet(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(driver.Sheet(), WM_NULL, 0, 0, SMTO_NORMAL, STEP_HANG_GUARD_MS, &ignored);
    Sleep(300);  // painting follows the queue; give it a moment before the picture is taken
    DeleteFileA(path.c_str());
    std::string unixPath = UnixPathOf(path.c_str());
    return !unixPath.empty() && RunUnixCommand("import -window root '" + unixPath + "'") &&
           GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Typical(const std::string &installer, const std::string &desktop, const std::string &shots)
{
    CreateDirectoryA(shots.c_str(), NULL);
    TypicalChoices choices;
    choices.FoundSettingsFile = desktop + "\\vtmain.ini";
    choices.Plugins = {"Packer: 7z", "Lister: 0: imgview"};
    choices.SettingsFiles = {"imgview.ini"};

    InstallerDriver driver;
    driver.Start(installer, {});
    int saved = 0;
    bool driven = DriveTypicalRun(driver, choices, [&](int templateId) {
        for (const PageShot &shot : PAGE_SHOTS) {
            if (shot.TemplateId != templateId)
                continue;
            std::string path = shots + "\\" + shot.FileName;
            if (SaveScreen(driver, path)) {
                ++saved;
                printf("  page %d: %s\n", templateId, shot.FileName);
            } else {
                driver.Fail("cannot save the screenshot " + path);
            }
        }
        fflush(stdout);
    });
    DWORD code = 99;
    if (!driven || !driver.WaitForExit(&code)) {
        fprintf(stderr, "the typical run failed: %s\n", driver.Failure().c_str());
        return 1;
    }
    printf("stickinstall.exe ended with exit code %lu after %d pages\n", static_cast<unsigned long>(code), saved);
    return code == 0 && saved == 7 ? 0 : 1;
}

// A peer's log line "<tick> <message time> <role> <event>" in words, its time from `start`.
std::string DescribeLogLine(const std::string &line, DWORD start)
{
    unsigned long tick = 0, messageTime = 0;
    char role[32] = "", event[128] = "";
    if (sscanf(line.c_str(), "%lu %lu %31s %127[^\r\n]", &tick, &messageTime, role, event) != 4)
        return "";
    struct Meaning {
        const char *Event;
        const char *Words;
    };
    const Meaning meanings[] = {
        {"ping", "ping (answered at once)"},
        {"identify", "identity query (answered: a Veltrano main window)"},
        {"esc_down", "Escape key down"},
        {"esc_up", "Escape key up"},
        {"sc_close", "close request (WM_SYSCOMMAND SC_CLOSE)"},
        {"final", "last-resort request"},
        {"destroyed", "closed"},
    };
    std::string words = event;
    if (words.rfind("ready", 0) == 0)
        return "";
    for (const Meaning &meaning : meanings) {
        if (words == meaning.Event)
            words = meaning.Words;
    }
    char text[256];
    snprintf(text, sizeof(text), "    %+6ld ms  %-8s %s", static_cast<long>(tick - start), role, words.c_str());
    return text;
}

bool StartPeer(const std::string &peer, const std::string &arguments, PROCESS_INFORMATION *started)
{
    std::vector<char> environment = EnvironmentBlock({});
    return StartProgram("\"" + peer + "\" " + arguments, &environment, started);
}

int Close(const std::string &peer, const std::string &closer, const std::string &logs)
{
    struct PeerRun {
        const char *Name;
        const char *Options;
        std::string Log;
        PROCESS_INFORMATION Process;
    };
    PeerRun peers[] = {
        {"first window", "", logs + "\\first.log", {}},
        {"second window, with a dialog open", " --dialogs 1", logs + "\\second.log", {}},
    };
    for (PeerRun &run : peers) {
        DeleteFileA(run.Log.c_str());
        if (!StartPeer(peer, "\"" + run.Log + "\"" + run.Options, &run.Process)) {
            fprintf(stderr, "cannot start %s\n", peer.c_str());
            return 1;
        }
    }
    bool ready = true;
    for (PeerRun &run : peers) {
        DWORD waited = 0;
        while (ReadWholeFile(run.Log).find(" ready ") == std::string::npos && waited < PROCESS_HANG_GUARD_MS) {
            Sleep(20);
            waited += 20;
        }
        if (waited >= PROCESS_HANG_GUARD_MS) {
            fprintf(stderr, "the %s did not come up within %d ms\n", run.Name, PROCESS_HANG_GUARD_MS);
            ready = false;
        }
    }

    int result = 1;
    DWORD start = GetTickCount();
    PROCESS_INFORMATION closing = {};
    std::vector<char> environment = EnvironmentBlock({});
    DWORD code = 99;
    if (ready && StartProgram("\"" + closer + "\"", &environment, &closing)) {
        if (WaitForExit(closing.hProcess, PROCESS_HANG_GUARD_MS, &code)) {
            printf("  stickclose.exe ended after %lu ms with exit code %lu\n",
                   static_cast<unsigned long>(GetTickCount() - start), static_cast<unsigned long>(code));
            result = 0;
        } else {
            fprintf(stderr, "stickclose.exe did not end within %d ms (killed)\n", PROCESS_HANG_GUARD_MS);
        }
        CloseHandle(closing.hProcess);
        CloseHandle(closing.hThread);
    }
    for (PeerRun &run : peers) {
        DWORD peerCode = 0;
        bool closed = WaitForExit(run.Process.hProcess, STEP_HANG_GUARD_MS, &peerCode);
        printf("  %s: %s\n", run.Name, closed ? "closed" : "still open (ended by the demo)");
        result = closed ? result : 1;
        std::string text = ReadWholeFile(run.Log);
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
            std::string words = DescribeLogLine(line, start);
            if (!words.empty())
                printf("%s\n", words.c_str());
            at = end == std::string::npos ? text.size() : end + 1;
        }
        CloseHandle(run.Process.hProcess);
        CloseHandle(run.Process.hThread);
    }
    return result;
}

}  // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    setvbuf(stdout, NULL, _IONBF, 0);
    if (args.size() == 2 && args[0] == "open")
        return Open(args[1]);
    if (args.size() == 4 && args[0] == "typical")
        return Typical(args[1], args[2], args[3]);
    if (args.size() == 4 && args[0] == "close")
        return Close(args[1], args[2], args[3]);
    return Usage();
}
