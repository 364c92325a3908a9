// The four buttons under the plugin and settings-files lists.
#pragma once

#include <windows.h>

// The check-list buttons (IDC_CHECK_ALL to IDC_UNCHECK_ALL_SELECTED) applied to a page's list;
// FALSE for other ids.
BOOL HandleCheckListButton(HWND list, int commandId);

// A list page's answer to WM_COMMAND: the button applied, then FALSE after a check-list button
// and TRUE for any other command.
INT_PTR AnswerCheckListCommand(HWND list, int commandId);
