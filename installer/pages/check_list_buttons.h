// The four buttons under the plugin and settings-files lists.
#pragma once

#include <windows.h>

// The check-list buttons (IDC_CHECK_ALL to IDC_UNCHECK_ALL_SELECTED) applied to a page's list;
// FALSE for other ids.
BOOL HandleCheckListButton(HWND list, int commandId);
