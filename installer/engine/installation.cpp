#include "engine/installation.h"

// Placeholder until the installation sequence is built.
void RunInstallation(HWND)
{
}

void CopyExtraSettingsFiles(HWND)
{
}
