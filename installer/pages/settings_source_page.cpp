#include "pages/wizard.h"

// Placeholder until this page is built: keeps the property sheet's default behaviour.
INT_PTR CALLBACK SettingsSourcePageProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
