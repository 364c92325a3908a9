// The check-list helpers and the four check-list buttons, on a real check-box list view.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "lists/check_list.h"
#include "pages/check_list_buttons.h"
#include "resources/resource.h"
#include "wizard_fixture.h"

namespace {

// Check marks as a string, one character per row: 'x' checked, '.' unchecked.
std::string Marks(HWND list)
{
    std::string marks;
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
        marks += ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? 'x' : '.';
    return marks;
}

void Select(HWND list, const std::string &selected)
{
    for (size_t row = 0; row < selected.size(); ++row)
        ListView_SetItemState(list, row, selected[row] == 's' ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

struct ButtonCase {
    const char *Name;
    int Button;
    const char *Before, *Selected, *After;  // one character per row
};

const ButtonCase BUTTON_CASES[] = {
    {"check all", IDC_CHECK_ALL, "x.x.", "....", "xxxx"},
    {"uncheck all", IDC_UNCHECK_ALL, "x.x.", "s...", "...."},
    {"check selected", IDC_CHECK_ALL_SELECTED, "x.........", ".s..s...s.", "xx..x...x."},
    {"check selected, none selected", IDC_CHECK_ALL_SELECTED, "x..x", "....", "x..x"},
    {"uncheck selected", IDC_UNCHECK_ALL_SELECTED, "xxxx", "ss..", "..xx"},
    {"uncheck selected, already clear", IDC_UNCHECK_ALL_SELECTED, "x...", ".ss.", "x..."},
    {"check all on an empty list", IDC_CHECK_ALL, "", "", ""},
    {"uncheck all on an empty list", IDC_UNCHECK_ALL, "", "", ""},
};

}  // namespace

TEST(CheckList, ButtonsSetTheRowsTheyName)
{
    for (const ButtonCase &button : BUTTON_CASES) {
        std::string before = button.Before;
        HWND list = CreateCheckList(static_cast<int>(before.size()), 0);
        for (size_t row = 0; row < before.size(); ++row)
            ListView_SetItemState(list, row, INDEXTOSTATEIMAGEMASK(before[row] == 'x' ? 2 : 1), LVIS_STATEIMAGEMASK);
        Select(list, button.Selected);
        EXPECT_TRUE(HandleCheckListButton(list, button.Button)) << button.Name;
        EXPECT_EQ(Marks(list), button.After) << button.Name;
        int checked = 0;
        for (const char *mark = button.After; *mark; ++mark)
            checked += *mark == 'x';
        EXPECT_EQ(CountCheckedItems(list), checked) << button.Name;
        DestroyWindow(list);
    }
}

TEST(CheckList, OtherCommandsAndMissingListsChangeNothing)
{
    HWND list = CreateCheckList(3, 1);
    EXPECT_FALSE(HandleCheckListButton(list, IDOK));
    EXPECT_FALSE(HandleCheckListButton(list, 1004));
    EXPECT_EQ(Marks(list), "x..");
    DestroyWindow(list);

    // A page that was never shown has no list: no rows, nothing checked.
    EXPECT_EQ(CountCheckedItems(NULL), 0);
    SetItemChecks(NULL, TRUE, FALSE);
    EXPECT_EQ(CountCheckedItems(NULL), 0);
}
