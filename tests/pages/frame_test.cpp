// What the user sees of the frame: the page records and header the sheet is given, the titles
// and icon the running sheet shows, and the columns of both check lists.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include <string>
#include <vector>

#include "base/install_state.h"
#include "pages/wizard.h"
#include "resources/resource.h"
#include "wizard_fixture.h"

namespace {

struct PageRow {
    int TemplateId;
    const char *Title;
    DLGPROC Procedure;
    DWORD Flags;
};

const PageRow PAGES[] = {
    {IDD_WELCOME, "Veltrano USB installer", WelcomePageProc, PSP_USETITLE},
    {IDD_LANGUAGE, "Target location", LanguagePageProc, PSP_USETITLE},
    {IDD_SETTINGS_SOURCE, "Copy settings", SettingsSourcePageProc, PSP_USETITLE},
    {IDD_PLUGINS, "Plugins", PluginPageProc, PSP_USETITLE},
    {IDD_SETTINGS_FILES, "Ini Files", SettingsFilesPageProc, PSP_USETITLE},
    {IDD_SUMMARY, "Start copying", SummaryPageProc, PSP_USETITLE},
    {IDD_PROGRESS, "Installing...", ProgressPageProc, PSP_USETITLE | PSP_RTLREADING},
};
const int PAGE_COUNT = sizeof(PAGES) / sizeof(PAGES[0]);

struct ColumnRow {
    const char *Title;
    int Width;  // pixels; FILLS: the list's outer width less a vertical scroll bar and 55
};
const int FILLS = -1;

const ColumnRow PLUGIN_COLUMNS[] = {{"Plugin", FILLS}, {"Size", 50}, {"Path", 0}, {"Copied to", 0}};
const ColumnRow SETTINGS_FILE_COLUMNS[] = {{"Settings file", FILLS}, {"Size", 50}};

// The columns of a list, read as the list reports them; `expected` rows, and no column more.
void ExpectColumns(HWND list, const ColumnRow *expected, int count, const char *name)
{
    ASSERT_TRUE(list != NULL) << name;
    RECT outer;
    GetWindowRect(list, &outer);
    const int fills = (outer.right - outer.left) - GetSystemMetrics(SM_CXVSCROLL) - 55;
    ASSERT_GT(fills, 50) << name << ": the list is " << outer.right - outer.left << " px wide";
    for (int i = 0; i <= count; ++i) {
        char title[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = sizeof(title);
        BOOL got = static_cast<BOOL>(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        if (i == count) {
            EXPECT_FALSE(got) << name << " has more than " << count << " columns";
            break;
        }
        ASSERT_TRUE(got) << name << ", column " << i;
        EXPECT_STREQ(expected[i].Title, title) << name << ", column " << i;
        EXPECT_EQ(expected[i].Width == FILLS ? fills : expected[i].Width, column.cx) << name << ", column " << i;
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK) << name << ", column " << i;
    }
}

// The colour and mask pixels of an icon, to tell two icons' pictures apart.
std::vector<DWORD> IconPixels(HICON icon, SIZE *size)
{
    std::vector<DWORD> pixels;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return pixels;
    BITMAP shape = {};
    GetObjectA(info.hbmMask, sizeof(shape), &shape);
    size->cx = shape.bmWidth;
    size->cy = info.hbmColor ? shape.bmHeight : shape.bmHeight / 2;
    HDC dc = GetDC(NULL);
    for (HBITMAP bitmap : {info.hbmColor, info.hbmMask}) {
        if (!bitmap)
            continue;
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = size->cx;
        format.bmiHeader.biHeight = -size->cy;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> part(static_cast<size_t>(size->cx) * size->cy);
        GetDIBits(dc, bitmap, 0, size->cy, part.data(), &format, DIB_RGB_COLORS);
        pixels.insert(pixels.end(), part.begin(), part.end());
    }
    ReleaseDC(NULL, dc);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

// The icon in the sheet's caption (its small icon, else its big one scaled down) shows the
// picture of icon resource 106 at the same size.
void ExpectProgramIcon(HWND sheet)
{
    HICON shown = reinterpret_cast<HICON>(SendMessageA(sheet, WM_GETICON, ICON_SMALL, 0));
    if (!shown)
        shown = reinterpret_cast<HICON>(SendMessageA(sheet, WM_GETICON, ICON_BIG, 0));
    SIZE size = {};
    std::vector<DWORD> seen = IconPixels(shown, &size);
    ASSERT_FALSE(seen.empty()) << "the sheet shows no icon";
    HICON program = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size.cx, size.cy, 0));
    SIZE programSize = {};
    std::vector<DWORD> wanted = IconPixels(program, &programSize);
    if (program)
        DestroyIcon(program);
    ASSERT_FALSE(wanted.empty()) << "no icon resource " << IDI_APP;
    EXPECT_TRUE(seen == wanted) << "the sheet's icon (" << size.cx << " x " << size.cy << ") is not icon " << IDI_APP;
}

std::string Caption(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

}  // namespace

class Frame : public WizardTest {};

TEST_F(Frame, PageRecordsAndSheetHeader)
{
    InstallState.Instance = GetModuleHandleA(NULL);
    PrepareWizard();
    const PROPSHEETHEADERA &header = PreparedWizard();
    EXPECT_EQ(0x20002Cu, header.dwFlags);
    EXPECT_EQ(static_cast<DWORD>(PSH_USEICONID | PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_USEPAGELANG), header.dwFlags);
    EXPECT_TRUE(header.hwndParent == NULL);
    EXPECT_EQ(InstallState.Instance, header.hInstance);
    EXPECT_EQ(MAKEINTRESOURCEA(IDI_APP), header.pszIcon);
    EXPECT_STREQ("Veltrano USB installer", header.pszCaption);
    ASSERT_EQ(static_cast<UINT>(PAGE_COUNT), header.nPages);
    EXPECT_EQ(0u, header.nStartPage);
    EXPECT_TRUE(header.pfnCallback == NULL);
    EXPECT_FALSE(header.dwFlags & (PSH_USECALLBACK | PSH_WATERMARK | PSH_HEADER | PSH_WIZARD97));
#ifndef _WIN64
    EXPECT_EQ(52u, header.dwSize) << "the x86 header with the header bitmap, without later fields";
#endif

    // The sheet steps from record to record by each record's own size.
    const BYTE *record = reinterpret_cast<const BYTE *>(header.ppsp);
    for (const PageRow &row : PAGES) {
        const PROPSHEETPAGEA &page = *reinterpret_cast<const PROPSHEETPAGEA *>(record);
        std::string name = "page " + std::to_string(row.TemplateId);
        EXPECT_EQ(row.Flags, page.dwFlags) << name;
        EXPECT_EQ(InstallState.Instance, page.hInstance) << name;
        EXPECT_EQ(MAKEINTRESOURCEA(row.TemplateId), page.pszTemplate) << name;
        EXPECT_STREQ(row.Title, page.pszTitle) << name;
        EXPECT_TRUE(page.pfnDlgProc == row.Procedure) << name;
        EXPECT_EQ(0, page.lParam) << name;
        EXPECT_TRUE(page.pfnCallback == NULL) << name;
        ASSERT_GE(page.dwSize, offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR)) << name;
#ifndef _WIN64
        EXPECT_EQ(48u, page.dwSize) << name << ": the x86 record with the header title fields";
#endif
        EXPECT_TRUE(page.pszHeaderTitle == NULL && page.pszHeaderSubTitle == NULL) << name;
        record += page.dwSize;
    }
}

// Through all seven pages with settings and plugins: each page's title as the sheet shows it,
// the program's icon, and the columns of both lists once their pages exist.
TEST_F(Frame, TitlesIconAndListColumnsAsShown)
{
    RunDrivenWizard([](WizardDriver &wizard) {
        ExpectProgramIcon(wizard.Sheet());
        for (int i = 0; i < PAGE_COUNT; ++i) {
            const PageRow &row = PAGES[i];
            ASSERT_EQ(row.TemplateId, wizard.CurrentTemplate()) << "page " << i;
            EXPECT_EQ(row.Title, Caption(wizard.Sheet())) << "page " << row.TemplateId;
            if (row.TemplateId == IDD_SETTINGS_SOURCE)
                ChooseSources(wizard, true, true, Settings().MainIni);
            if (row.TemplateId == IDD_PLUGINS)
                ExpectColumns(wizard.PluginList(), PLUGIN_COLUMNS, 4, "the plugin list");
            if (row.TemplateId == IDD_SETTINGS_FILES)
                ExpectColumns(wizard.SettingsFileList(), SETTINGS_FILE_COLUMNS, 2, "the settings-files list");
            if (row.TemplateId != IDD_PROGRESS)
                wizard.Next();
        }
        ASSERT_TRUE(wizard.WaitUntil([] { return StandIn.Calls == 1 && InstallState.Installing == 0; },
                                     "the run to end"));
        wizard.Settle();
        EXPECT_EQ("Installing...", Caption(wizard.Sheet())) << "after the run";
        wizard.Finish();
        EXPECT_TRUE(wizard.WaitForClose());
    });
}
