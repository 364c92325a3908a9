#include "engine/plugin_transfer.h"

// Placeholder until the plugin transfer is built.
void TransferPlugins(HWND)
{
}
