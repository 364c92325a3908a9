#include "pages/progress.h"
#include "pages/wizard.h"

// Placeholder until this page is built: keeps the property sheet's default behaviour.
INT_PTR CALLBACK ProgressPageProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void SetProgress(HWND, int)
{
}
