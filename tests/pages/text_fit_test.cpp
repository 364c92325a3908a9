// Every static text and push-button caption of the seven page templates, measured in the font its
// page shows it in, must fit its control. A static text is word-wrapped at the control's width: no
// line may run past it and the lines must not need more height than the control has. A button
// draws its caption on one line inside its frame and focus rectangle: caption and those edges
// together must fit the button.
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
    int Buttons;        // push buttons it holds
};

const FitCase PAGES[] = {
    {IDD_WELCOME, WelcomePageProc, 2, 0},  // the title in the page's title font
    {IDD_LANGUAGE, PlainPageProc, 2, 0},
    {IDD_SETTINGS_SOURCE, PlainPageProc, 2, 2},
    {IDD_PLUGINS, PlainPageProc, 5, 4},
    {IDD_SETTINGS_FILES, PlainPageProc, 1, 4},
    {IDD_SUMMARY, PlainPageProc, 3, 0},
    {IDD_PROGRESS, PlainPageProc, 3, 0},
};

bool HasClass(HWND control, const char *name)
{
    char className[32] = "";
    GetClassNameA(control, className, COUNTOF(className));
    return lstrcmpiA(className, name) == 0;
}

bool IsStaticText(HWND control)
{
    if (!HasClass(control, "Static"))
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

bool IsPushButton(HWND control)
{
    DWORD type = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & BS_TYPEMASK;
    return HasClass(control, "Button") && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// What a push button keeps for itself on each side of its caption: its raised frame, and the
// pixel inside it where the focus rectangle is drawn.
SIZE ButtonEdges()
{
    return {2 * (GetSystemMetrics(SM_CXEDGE) + 1), 2 * (GetSystemMetrics(SM_CYEDGE) + 1)};
}

struct Measured {
    std::string Text;
    SIZE Has, Needs;
};

// The room a control's text needs, laid out with the flags given (DT_CALCRECT among them) at
// the control's width, plus the edges the control keeps around its text.
Measured MeasureText(HDC dc, HWND control, UINT flags, SIZE edges)
{
    Measured measured;
    char text[1024] = "";
    GetWindowTextA(control, text, COUNTOF(text));
    measured.Text = text;
    RECT client;
    GetClientRect(control, &client);
    measured.Has = {client.right, client.bottom};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT needed = {0, 0, client.right - edges.cx, 0};
    DrawTextA(dc, text, -1, &needed, flags);
    SelectObject(dc, previous);
    measured.Needs = {needed.right - needed.left + edges.cx, needed.bottom - needed.top + edges.cy};
    return measured;
}

struct PageTexts {
    std::vector<Measured> Texts, Buttons;
};

PageTexts MeasurePage(HWND page)
{
    PageTexts measured;
    HDC dc = GetDC(page);
    for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (IsStaticText(control))
            measured.Texts.push_back(MeasureText(dc, control, DrawFlags(control), SIZE{0, 0}));
        else if (IsPushButton(control))
            measured.Buttons.push_back(
                MeasureText(dc, control, DT_CALCRECT | DT_SINGLELINE, ButtonEdges()));
    }
    ReleaseDC(page, dc);
    return measured;
}

void ExpectFits(const std::vector<Measured> &texts, int templateId, const char *what)
{
    for (const Measured &m : texts) {
        EXPECT_TRUE(m.Needs.cx <= m.Has.cx && m.Needs.cy <= m.Has.cy)
            << "template " << templateId << ": " << what << " \"" << m.Text << "\" needs " << m.Needs.cx << " x "
            << m.Needs.cy << " px, its control has " << m.Has.cx << " x " << m.Has.cy;
    }
}

}  // namespace

TEST(PageTexts, EveryStaticTextAndButtonCaptionFitsItsControl)
{
    InstallState.Instance = GetModuleHandleA(NULL);
    for (const FitCase &c : PAGES) {
        HWND page = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(c.TemplateId), NULL, c.Procedure, 0);
        ASSERT_TRUE(page != NULL) << "template " << c.TemplateId;
        PageTexts measured = MeasurePage(page);
        EXPECT_EQ(static_cast<size_t>(c.Texts), measured.Texts.size()) << "static texts of template " << c.TemplateId;
        EXPECT_EQ(static_cast<size_t>(c.Buttons), measured.Buttons.size())
            << "push buttons of template " << c.TemplateId;
        ExpectFits(measured.Texts, c.TemplateId, "text");
        ExpectFits(measured.Buttons, c.TemplateId, "button");
        DestroyWindow(page);
    }
    if (InstallState.TitleFont) {
        DeleteObject(InstallState.TitleFont);
        InstallState.TitleFont = NULL;
    }
}
