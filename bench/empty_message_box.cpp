// The floor for a GUI program's start under Wine: show an empty message box and end.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(NULL, "", "empty message box", MB_OK);
    return 0;
}
