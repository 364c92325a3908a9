// The seven page templates as compiled into the resources: size, style, font, language, and
// each control's class, id, style, text and position, in template order.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

// Predefined control classes of a dialog template, by their ordinals.
const char *ClassOfOrdinal(WORD ordinal)
{
    switch (ordinal) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x85: return "ComboBox";
    }
    return "?";
}

// Class names match without regard to case (the resource compiler writes some in capitals).
bool SameClass(const std::string &a, const char *b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

struct ControlSeen {
    std::string Class, Text;
    WORD Id;
    DWORD Style;
    short X, Y, Width, Height;
};

struct TemplateSeen {
    DWORD Style;
    short Width, Height;
    WORD FontSize;
    std::string FontName;
    std::vector<ControlSeen> Controls;
};

// Reads a name-or-ordinal field; ordinals come back as "#<number>".
std::string ReadField(const WORD *&cursor)
{
    if (*cursor == 0xFFFF) {
        std::string ordinal = "#" + std::to_string(cursor[1]);
        cursor += 2;
        return ordinal;
    }
    std::string text;
    while (*cursor)
        text += static_cast<char>(*cursor++);  // the templates are ASCII
    ++cursor;
    return text;
}

bool ReadTemplate(int id, WORD language, TemplateSeen *seen)
{
    HRSRC found = FindResourceExA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(5) /* RT_DIALOG */,
                                  MAKEINTRESOURCEA(id), language);
    if (!found)
        return false;
    const DLGTEMPLATE *head = static_cast<const DLGTEMPLATE *>(LockResource(LoadResource(NULL, found)));
    seen->Style = head->style;
    seen->Width = head->cx;
    seen->Height = head->cy;
    const WORD *cursor = reinterpret_cast<const WORD *>(head + 1);
    ReadField(cursor);  // menu
    ReadField(cursor);  // class
    ReadField(cursor);  // caption
    seen->FontSize = *cursor++;
    seen->FontName = ReadField(cursor);
    for (int i = 0; i < head->cdit; ++i) {
        cursor = reinterpret_cast<const WORD *>((reinterpret_cast<ULONG_PTR>(cursor) + 3) & ~ULONG_PTR(3));
        const DLGITEMTEMPLATE *item = reinterpret_cast<const DLGITEMTEMPLATE *>(cursor);
        ControlSeen control;
        control.Style = item->style;
        control.X = item->x;
        control.Y = item->y;
        control.Width = item->cx;
        control.Height = item->cy;
        control.Id = item->id;
        cursor = reinterpret_cast<const WORD *>(reinterpret_cast<const BYTE *>(item) + 18);
        if (*cursor == 0xFFFF) {
            control.Class = ClassOfOrdinal(cursor[1]);
            cursor += 2;
        } else {
            control.Class = ReadField(cursor);
        }
        control.Text = ReadField(cursor);
        cursor += 1 + *cursor / 2;  // creation data
        seen->Controls.push_back(control);
    }
    return true;
}

// Kinds of control the tables name, as class, type and the style bits each must carry.
enum Kind { LABEL, ICON, TITLE, FRAME, DROP_LIST, CHECK_BOX, EDIT, PUSH, LIST_VIEW, PROGRESS };

struct Expected {
    Kind What;
    int Id;
    short X, Y, Width, Height;
    const char *Text;
};

const WORD PLAIN = 0xFFFF;

void ExpectKind(const ControlSeen &seen, Kind kind, const std::string &where)
{
    DWORD type = seen.Style & SS_TYPEMASK;
    switch (kind) {
    case LABEL:
        EXPECT_TRUE(SameClass(seen.Class, "Static")) << where << ": " << seen.Class;
        EXPECT_EQ(type, DWORD(SS_LEFT)) << where;
        break;
    case ICON:
        EXPECT_TRUE(SameClass(seen.Class, "Static")) << where << ": " << seen.Class;
        EXPECT_EQ(type, DWORD(SS_ICON)) << where;
        break;
    case TITLE:
        EXPECT_TRUE(SameClass(seen.Class, "Static")) << where << ": " << seen.Class;
        EXPECT_EQ(type, DWORD(SS_LEFTNOWORDWRAP)) << where;
        EXPECT_TRUE(seen.Style & SS_CENTERIMAGE) << where;
        break;
    case FRAME:
        EXPECT_TRUE(SameClass(seen.Class, "Static")) << where << ": " << seen.Class;
        EXPECT_EQ(type, DWORD(SS_ETCHEDFRAME)) << where;
        break;
    case DROP_LIST:
        EXPECT_TRUE(SameClass(seen.Class, "ComboBox")) << where << ": " << seen.Class;
        EXPECT_EQ(seen.Style & 3, DWORD(CBS_DROPDOWNLIST)) << where;
        EXPECT_FALSE(seen.Style & CBS_SORT) << where;
        EXPECT_TRUE(seen.Style & WS_VSCROLL) << where;
        EXPECT_TRUE(seen.Style & WS_TABSTOP) << where;
        break;
    case CHECK_BOX:
        EXPECT_TRUE(SameClass(seen.Class, "Button")) << where << ": " << seen.Class;
        EXPECT_EQ(seen.Style & BS_TYPEMASK, DWORD(BS_AUTOCHECKBOX)) << where;
        EXPECT_TRUE(seen.Style & WS_TABSTOP) << where;
        break;
    case EDIT:
        EXPECT_TRUE(SameClass(seen.Class, "Edit")) << where << ": " << seen.Class;
        EXPECT_TRUE(seen.Style & WS_BORDER) << where;
        EXPECT_TRUE(seen.Style & ES_AUTOHSCROLL) << where;
        EXPECT_TRUE(seen.Style & WS_TABSTOP) << where;
        break;
    case PUSH:
        EXPECT_TRUE(SameClass(seen.Class, "Button")) << where << ": " << seen.Class;
        EXPECT_EQ(seen.Style & BS_TYPEMASK, DWORD(BS_PUSHBUTTON)) << where;
        break;
    case LIST_VIEW:
        EXPECT_TRUE(SameClass(seen.Class, "SysListView32")) << where << ": " << seen.Class;
        EXPECT_EQ(seen.Style & LVS_TYPEMASK, DWORD(LVS_REPORT)) << where;
        EXPECT_TRUE(seen.Style & WS_BORDER) << where;
        EXPECT_TRUE(seen.Style & WS_TABSTOP) << where;
        EXPECT_FALSE(seen.Style & (LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SORTDESCENDING)) << where;
        break;
    case PROGRESS:
        EXPECT_TRUE(SameClass(seen.Class, "msctls_progress32")) << where << ": " << seen.Class;
        EXPECT_TRUE(seen.Style & WS_BORDER) << where;
        break;
    }
    EXPECT_TRUE(seen.Style & WS_VISIBLE) << where;
}

struct TemplateCase {
    int Id;
    WORD Language;
    std::vector<Expected> Controls;
};

const WORD ENGLISH_US = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD NEUTRAL = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

const TemplateCase TEMPLATES[] = {
    {IDD_WELCOME, ENGLISH_US,
     {{LABEL, PLAIN, 40, 79, 184, 51,
       "This installer allows you to install Veltrano to an USB stick or other removable drives.\n\n\n"
       "Click Next to continue."},
      {ICON, PLAIN, 40, 36, 20, 20, "#106"},
      {TITLE, 1012, 67, 32, 177, 29, "Veltrano"},
      {FRAME, PLAIN, 15, 16, 235, 153, ""}}},
    {IDD_LANGUAGE, NEUTRAL,
     {{LABEL, 1010, 27, 64, 171, 21, "Chose the language of the program:"},
      {LABEL, 1009, 27, 115, 42, 8, "Language:"},
      {DROP_LIST, 1001, 75, 113, 139, 101, ""},
      {FRAME, PLAIN, 15, 16, 235, 153, ""}}},
    {IDD_SETTINGS_SOURCE, NEUTRAL,
     {{CHECK_BOX, 1001, 26, 64, 163, 10, "Copy settings from desktop version:"},
      {LABEL, 1011, 27, 84, 30, 8, "General:"},
      {EDIT, 1009, 75, 82, 139, 12, ""},
      {PUSH, 5, 215, 82, 16, 13, ">>"},
      {LABEL, 1012, 27, 105, 16, 8, "FTP:"},
      {EDIT, 1010, 75, 104, 139, 12, ""},
      {PUSH, 6, 216, 104, 16, 13, ">>"},
      {CHECK_BOX, 1002, 27, 127, 162, 10, "Copy plugins from desktop version"},
      {FRAME, PLAIN, 15, 16, 235, 153, ""}}},
    {IDD_PLUGINS, NEUTRAL,
     {{LIST_VIEW, 1004, 15, 19, 235, 152, ""},
      // First drawn 45, 45, 70 and 70 wide, too narrow for their captions in Wine's own Tahoma;
      // now as wide as each caption needs, a unit apart, the row as wide as the list.
      {PUSH, 3, 15, 173, 38, 13, "Check all"},
      {PUSH, 4, 54, 173, 46, 13, "Uncheck all"},
      {PUSH, 5, 101, 173, 70, 13, "Check all selected"},
      {PUSH, 6, 172, 173, 78, 13, "Uncheck all selected"},
      {LABEL, PLAIN, 16, 192, 34, 8, "Checked:"},
      {LABEL, 1013, 52, 192, 45, 8, "0k"},
      {LABEL, PLAIN, 97, 192, 18, 8, "Free:"},
      {LABEL, 1014, 119, 192, 45, 8, "0k"},
      // Wider than first drawn (177), so that the text fits on its one line.
      {LABEL, PLAIN, 15, 8, 235, 8, "Check the plugins which you would like to copy to USB:"}}},
    {IDD_SETTINGS_FILES, NEUTRAL,
     // The list starts 8 units lower, below the label's third line; its bottom stays at 171.
     {{LIST_VIEW, 1015, 15, 36, 235, 135, ""},
      {PUSH, 3, 15, 173, 38, 13, "Check all"},
      {PUSH, 4, 54, 173, 46, 13, "Uncheck all"},
      {PUSH, 5, 101, 173, 70, 13, "Check all selected"},
      {PUSH, 6, 172, 173, 78, 13, "Uncheck all selected"},
      {LABEL, PLAIN, 15, 8, 235, 24,
       "The following settings files were found in the same directory as vtmain.ini may contain plugin "
       "settings. Please check those which you want to copy:"}}},
    {IDD_SUMMARY, NEUTRAL,
     {{LABEL, 1011, 29, 48, 208, 97, "Items:"},
      {LABEL, PLAIN, 29, 154, 208, 8, "Click Next to start installation."},  // as wide as the labels above
      {FRAME, PLAIN, 15, 16, 235, 153, ""},
      {LABEL, PLAIN, 29, 25, 208, 17, "Ready to install!\nThe following items will be installed:"}}},
    {IDD_PROGRESS, NEUTRAL,
     {{LABEL, PLAIN, 32, 55, 167, 8, "Copying files:"},
      {PROGRESS, 1005, 32, 116, 180, 14, ""},
      {LABEL, 1006, 32, 78, 195, 29, ".."},
      {LABEL, 1007, 216, 119, 18, 8, "0%"},
      {FRAME, PLAIN, 15, 16, 235, 153, ""}}},
};

}  // namespace

TEST(PageTemplates, MatchTheirTables)
{
    const DWORD pageStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
    for (const TemplateCase &page : TEMPLATES) {
        TemplateSeen seen;
        ASSERT_TRUE(ReadTemplate(page.Id, page.Language, &seen))
            << "template " << page.Id << " in language " << std::hex << page.Language;
        std::string name = "template " + std::to_string(page.Id);
        EXPECT_EQ(seen.Style, pageStyle) << name;
        EXPECT_EQ(seen.Width, 266) << name;
        EXPECT_EQ(seen.Height, 202) << name;
        EXPECT_EQ(seen.FontSize, 8) << name;
        EXPECT_EQ(seen.FontName, "MS Shell Dlg") << name;
        ASSERT_EQ(seen.Controls.size(), page.Controls.size()) << name;
        for (size_t i = 0; i < page.Controls.size(); ++i) {
            const Expected &want = page.Controls[i];
            const ControlSeen &got = seen.Controls[i];
            std::string where = name + ", control " + std::to_string(i) + " (" + std::to_string(want.Id) + ")";
            ExpectKind(got, want.What, where);
            EXPECT_EQ(got.Id, WORD(want.Id)) << where;
            EXPECT_EQ(got.Text, want.Text) << where;
            EXPECT_EQ(got.X, want.X) << where;
            EXPECT_EQ(got.Y, want.Y) << where;
            EXPECT_EQ(got.Width, want.Width) << where;
            EXPECT_EQ(got.Height, want.Height) << where;
        }
    }
}

// The four buttons under each check list stand in one row, left to right without overlapping,
// within the list's own width.
TEST(PageTemplates, CheckListButtonsStayUnderTheirList)
{
    const int listPages[] = {IDD_PLUGINS, IDD_SETTINGS_FILES};
    for (int id : listPages) {
        TemplateSeen seen;
        ASSERT_TRUE(ReadTemplate(id, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &seen)) << "template " << id;
        const ControlSeen *list = nullptr;
        std::vector<const ControlSeen *> buttons;
        for (const ControlSeen &control : seen.Controls) {
            if (SameClass(control.Class, WC_LISTVIEWA))
                list = &control;
            else if (SameClass(control.Class, "Button"))
                buttons.push_back(&control);
        }
        ASSERT_TRUE(list != nullptr) << "template " << id;
        ASSERT_EQ(4u, buttons.size()) << "template " << id;
        int left = list->X;
        for (const ControlSeen *button : buttons) {
            std::string where = "template " + std::to_string(id) + ", button \"" + button->Text + "\"";
            EXPECT_EQ(buttons[0]->Y, button->Y) << where;
            EXPECT_GE(button->X, left) << where;
            left = button->X + button->Width;
        }
        EXPECT_LE(left, list->X + list->Width) << "template " << id << ": the buttons run past the list";
    }
}
