#include <windows.h>

#include "startup/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunStickInstall(instance);
}
