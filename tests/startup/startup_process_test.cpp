// stickinstall.exe started as the U3 platform would, each run with its own environment.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/temp_directory.h"
#include "support/windows.h"

namespace {


struct ProgramRun {
    PROCESS_INFORMATION Process = {};
    bool Started = false;
    ~ProgramRun()
    {
        if (Started) {
            TerminateProcess(Process.hProcess, 99);
            CloseHandle(Process.hProcess);
            CloseHandle(Process.hThread);
        }
    }
};

std::string DeviceDirectory()
{
    std::string device = TempDirectory() + "startup_device";
    CreateDirectoryA(device.c_str(), NULL);
    return device;
}

void Start(ProgramRun &run, const char *appDataPath, const char *isUpgrade)
{
    std::vector<char> environment = EnvironmentBlock({
        {"U3_APP_DATA_PATH", appDataPath},
        {"U3_IS_UPGRADE", isUpgrade},
        {"U3_HOST_EXEC_PATH", NULL},
        {"U3_DEVICE_EXEC_PATH", NULL},
    });
    std::string program = "\"" + ProgramBesideTest("stickinstall.exe") + "\"";
    ASSERT_TRUE(StartProgram(program, &environment, &run.Process)) << "could not start " << program;
    run.Started = true;
}

// Exit code of a run that must end without ever showing a window.
void ExpectSilentExit(ProgramRun &run, DWORD expectedCode)
{
    DWORD start = GetTickCount();
    int windowsSeen = 0;
    while (WaitForSingleObject(run.Process.hProcess, 0) == WAIT_TIMEOUT) {
        windowsSeen += static_cast<int>(VisibleWindowsOf(run.Process.dwProcessId).size());
        ASSERT_LT(GetTickCount() - start, PROCESS_HANG_GUARD_MS) << "the program did not end";
        Sleep(1);
    }
    DWORD code = 99;
    GetExitCodeProcess(run.Process.hProcess, &code);
    EXPECT_EQ(expectedCode, code);
    EXPECT_EQ(0, windowsSeen) << "a window was shown";
}

BOOL CALLBACK MatchIconControl(HWND child, LPARAM found)
{
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND *>(found) = child;
        return FALSE;
    }
    return TRUE;
}

HWND FindIconControl(HWND box)
{
    HWND found = NULL;
    EnumChildWindows(box, MatchIconControl, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Icon handles are not shared between processes, so the picture is judged on screen:
// the error icon is mostly red.
double RedShareOnScreen(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    HDC screen = GetDC(NULL);
    int red = 0, all = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            COLORREF pixel = GetPixel(screen, x, y);
            ++all;
            if (GetRValue(pixel) > 150 && GetGValue(pixel) < 100 && GetBValue(pixel) < 100)
                ++red;
        }
    }
    ReleaseDC(NULL, screen);
    return all ? static_cast<double>(red) / all : 0.0;
}

struct RefusalCase {
    const char *AppDataPath;  // NULL: unset
    const char *IsUpgrade;
};

TEST(StartupProcess, RefusesWithoutAppDataPath)
{
    const RefusalCase cases[] = {{NULL, NULL}, {"", NULL}, {NULL, "TRUE"}, {"", "1"}};
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(std::string("U3_APP_DATA_PATH ") + (c.AppDataPath ? "empty" : "unset") +
                     ", U3_IS_UPGRADE " + (c.IsUpgrade ? c.IsUpgrade : "unset"));
        ProgramRun run;
        Start(run, c.AppDataPath, c.IsUpgrade);
        HWND box = WaitForProcessWindow(run.Process.dwProcessId, "Install Error", PROCESS_HANG_GUARD_MS);
        ASSERT_NE(nullptr, box) << "no refusal box appeared";

        std::vector<std::string> texts = ChildTexts(box);
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(),
                                         "This program can only be run during an U3 USB stick install!"))
            << "the box does not hold the refusal text";
        // MB_ICONERROR shows the system's error icon; MB_OK gives a single OK button.
        HWND icon = FindIconControl(box);
        ASSERT_NE(nullptr, icon) << "the box shows no icon";
        UpdateWindow(box);
        EXPECT_GT(RedShareOnScreen(icon), 0.2) << "the box does not show the error icon";
        EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
        EXPECT_EQ(nullptr, GetDlgItem(box, IDCANCEL));

        PostMessageA(box, WM_COMMAND, IDOK, 0);
        DWORD code = 99;
        ASSERT_TRUE(WaitForExit(run.Process.hProcess, PROCESS_HANG_GUARD_MS, &code)) << "did not end after OK";
        EXPECT_EQ(1u, code);
    }
}

TEST(StartupProcess, RefusesAnAppDataPathTooLongForItsFiles)
{
    std::string device = DeviceDirectory() + "\\" + std::string(250, 'd');
    ProgramRun run;
    Start(run, device.c_str(), NULL);
    HWND box = WaitForProcessWindow(run.Process.dwProcessId, "Install Error", PROCESS_HANG_GUARD_MS);
    ASSERT_NE(nullptr, box) << "no box appeared";
    std::vector<std::string> texts = ChildTexts(box);
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "The application data path of the U3 device is too long!"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(run.Process.hProcess, PROCESS_HANG_GUARD_MS, &code)) << "did not end after OK";
    EXPECT_EQ(1u, code);

    // An upgrade writes nothing, so it still ends silently.
    ProgramRun upgrade;
    Start(upgrade, device.c_str(), "1");
    ExpectSilentExit(upgrade, 0);
}

TEST(StartupProcess, UpgradeEndsSilently)
{
    std::string device = DeviceDirectory();
    for (const char *value : {"TRUE", "1", "true"}) {
        SCOPED_TRACE(std::string("U3_IS_UPGRADE ") + value);
        ProgramRun run;
        Start(run, device.c_str(), value);
        ExpectSilentExit(run, 0);
    }
}

TEST(StartupProcess, OtherUpgradeValuesRunTheWizard)
{
    std::string device = DeviceDirectory();
    for (const char *value : {"yes", "0", ""}) {
        SCOPED_TRACE(std::string("U3_IS_UPGRADE \"") + value + "\"");
        ProgramRun run;
        Start(run, device.c_str(), value);
        HWND sheet = WaitForProcessWindow(run.Process.dwProcessId, "Veltrano USB installer", PROCESS_HANG_GUARD_MS);
        ASSERT_NE(nullptr, sheet) << "the wizard did not open";
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        DWORD code = 99;
        ASSERT_TRUE(WaitForExit(run.Process.hProcess, PROCESS_HANG_GUARD_MS, &code)) << "did not end after Cancel";
        EXPECT_EQ(0u, code);
    }
}

}  // namespace
