#include "pages/check_list_buttons.h"

#include "lists/check_list.h"
#include "resources/resource.h"

namespace {

// What each check-list button does to the page's list.
struct CheckListButton {
    int Id;
    BOOL Check;
    BOOL SelectedOnly;
};

const CheckListButton CHECK_LIST_BUTTONS[] = {
    {IDC_CHECK_ALL, TRUE, FALSE},
    {IDC_UNCHECK_ALL, FALSE, FALSE},
    {IDC_CHECK_ALL_SELECTED, TRUE, TRUE},
    {IDC_UNCHECK_ALL_SELECTED, FALSE, TRUE},
};

}  // namespace

BOOL HandleCheckListButton(HWND list, int commandId)
{
    for (const CheckListButton &button : CHECK_LIST_BUTTONS) {
        if (button.Id == commandId) {
            SetItemChecks(list, button.Check, button.SelectedOnly);
            return TRUE;
        }
    }
    return FALSE;
}

// Inverted on purpose. Either answer leaves the dialog manager nothing to do here (no control of
// the list pages has a default command action); the inversion keeps the answers the pages have
// always given.
INT_PTR AnswerCheckListCommand(HWND list, int commandId)
{
    return !HandleCheckListButton(list, commandId);
}
