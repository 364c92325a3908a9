#include "pages/wizard.h"

#include <commctrl.h>
#include <cstddef>

#include "base/install_state.h"
#include "resources/resource.h"

namespace {

// Record versions with the header title fields, sized without the later extensions.
const UINT PAGE_RECORD_SIZE = offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR);
const UINT HEADER_RECORD_SIZE = offsetof(PROPSHEETHEADERA, hbmHeader) + sizeof(HBITMAP);
#ifndef _WIN64
static_assert(PAGE_RECORD_SIZE == 48, "page record of the x86 build");
static_assert(HEADER_RECORD_SIZE == 52, "sheet header of the x86 build");
#endif

const DWORD SHEET_FLAGS = PSH_USEICONID | PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_USEPAGELANG;

struct PageEntry {
    int TemplateId;
    const char *Title;
    DLGPROC Procedure;
    DWORD Flags;
};

// The pages in wizard order. The progress page's title is marked for right-to-left reading.
const PageEntry Pages[] = {
    {IDD_WELCOME, "Veltrano USB installer", WelcomePageProc, PSP_USETITLE},
    {IDD_LANGUAGE, "Target location", LanguagePageProc, PSP_USETITLE},
    {IDD_SETTINGS_SOURCE, "Copy settings", SettingsSourcePageProc, PSP_USETITLE},
    {IDD_PLUGINS, "Plugins", PluginPageProc, PSP_USETITLE},
    {IDD_SETTINGS_FILES, "Ini Files", SettingsFilesPageProc, PSP_USETITLE},
    {IDD_SUMMARY, "Start copying", SummaryPageProc, PSP_USETITLE},
    {IDD_PROGRESS, "Installing...", ProgressPageProc, PSP_USETITLE | PSP_RTLREADING},
};
const int PAGE_COUNT = COUNTOF(Pages);
static_assert(COUNTOF(Pages) == 7, "seven wizard pages");

// The sheet steps from one record to the next by dwSize, so the array is made of records of
// exactly that size, not of the larger PROPSHEETPAGEA of these headers.
PROPSHEETPAGEA_V2 PageRecords[PAGE_COUNT];
static_assert(sizeof(PROPSHEETPAGEA_V2) == PAGE_RECORD_SIZE, "page records laid out at their own size");
PROPSHEETHEADERA SheetHeader;

}  // namespace

void PrepareWizard()
{
    for (int i = 0; i < PAGE_COUNT; ++i) {
        PROPSHEETPAGEA_V2 &record = PageRecords[i];
        ZeroMemory(&record, sizeof(record));
        record.dwSize = PAGE_RECORD_SIZE;
        record.dwFlags = Pages[i].Flags;
        record.hInstance = InstallState.Instance;
        record.pszTemplate = MAKEINTRESOURCEA(Pages[i].TemplateId);
        record.pszTitle = Pages[i].Title;
        record.pfnDlgProc = Pages[i].Procedure;
        record.lParam = 0;
    }
    ZeroMemory(&SheetHeader, sizeof(SheetHeader));
    SheetHeader.dwSize = HEADER_RECORD_SIZE;
    SheetHeader.dwFlags = SHEET_FLAGS;
    SheetHeader.hwndParent = NULL;
    SheetHeader.hInstance = InstallState.Instance;
    SheetHeader.pszIcon = MAKEINTRESOURCEA(IDI_APP);
    SheetHeader.pszCaption = "Veltrano USB installer";
    SheetHeader.nPages = PAGE_COUNT;
    SheetHeader.nStartPage = 0;
    SheetHeader.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(PageRecords);
}

void RunWizard()
{
    PropertySheetA(&SheetHeader);
}

const PROPSHEETHEADERA &PreparedWizard()
{
    return SheetHeader;
}

void PostWizardButtons(HWND page, DWORD buttons)
{
    PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, buttons);
}

INT_PTR AnswerNotification(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}
