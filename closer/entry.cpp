#include <windows.h>

// Placeholder until the closer is built: ends at once with the closer's only exit code.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
