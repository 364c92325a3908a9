// Every static text of the seven page templates, measured in the font its page shows it in,
// must fit its control: word-wrapped at the control's width, no line may run past it and the
// lines must not need more height than the control has.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/install_state.h"
#include "pages/wizard.h"
#include "resources/resource.h"

namespace {

INT_PTR CALLBACK PlainPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

struct FitCase {
    int TemplateId;
    DLGPROC Procedure;  // the page's own procedure where it changes a label's font
    int Texts;          // static texts the template holds (icons and frames are none)
};

const FitCase PAGES[] = {
    {IDD_WELCOME, WelcomePageProc, 2},  // the title in the page's title font
    {IDD_LANGUAGE, PlainPageProc, 2},
    {IDD_SETTINGS_SOURCE, PlainPageProc, 2},
    {IDD_PLUGINS, PlainPageProc, 5},
    {IDD_SETTINGS_FILES, PlainPageProc, 1},
    {IDD_SUMMARY, PlainPageProc, 3},
    {IDD_PROGRESS, PlainPageProc, 3},
};

bool IsStaticText(HWND control)
{
    char className[32] = "";
    GetClassNameA(control, className, COUNTOF(className));
    if (lstrcmpiA(className, "Static") != 0)
        return false;
    DWORD type = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP ||
           type == SS_SIMPLE;
}

// How the static control lays its text out: word-wrapped unless it is a no-wrap label.
UINT DrawFlags(HWND control)
{
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    UINT flags = DT_CALCRECT | DT_EXPANDTABS;
    DWORD type = style & SS_TYPEMASK;
    if (type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
        flags |= DT_WORDBREAK;
    if (style & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    return flags;
}

struct Measured {
    std::string Text;
    SIZE Has, Needs;
};

std::vector<Measured> MeasureTexts(HWND page)
{
    std::vector<Measured> texts;
    HDC dc = GetDC(page);
    for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsStaticText(control))
            continue;
        Measured measured;
        char text[1024] = "";
        GetWindowTextA(control, text, COUNTOF(text));
        measured.Text = text;
        RECT client;
        GetClientRect(control, &client);
        measured.Has = {client.right, client.bottom};
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        RECT needed = {0, 0, client.right, 0};
        DrawTextA(dc, text, -1, &needed, DrawFlags(control));
        SelectObject(dc, previous);
        measured.Needs = {needed.right - needed.left, needed.bottom - needed.top};
        texts.push_back(measured);
    }
    ReleaseDC(page, dc);
    return texts;
}

}  // namespace

TEST(PageTexts, EveryStaticTextFitsItsControl)
{
    InstallState.Instance = GetModuleHandleA(NULL);
    for (const FitCase &c : PAGES) {
        HWND page = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(c.TemplateId), NULL, c.Procedure, 0);
        ASSERT_TRUE(page != NULL) << "template " << c.TemplateId;
        std::vector<Measured> texts = MeasureTexts(page);
        EXPECT_EQ(static_cast<size_t>(c.Texts), texts.size()) << "static texts of template " << c.TemplateId;
        for (const Measured &m : texts) {
            EXPECT_TRUE(m.Needs.cx <= m.Has.cx && m.Needs.cy <= m.Has.cy)
                << "template " << c.TemplateId << ": \"" << m.Text << "\" needs " << m.Needs.cx << " x "
                << m.Needs.cy << " px, its control has " << m.Has.cx << " x " << m.Has.cy;
        }
        DestroyWindow(page);
    }
    if (InstallState.TitleFont) {
        DeleteObject(InstallState.TitleFont);
        InstallState.TitleFont = NULL;
    }
}
