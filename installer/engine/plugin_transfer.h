#pragma once

#include "engine/installation.h"

// Copies the checked plugins to the device and registers them in the portable settings file,
// showing each row and the progress through report.
void TransferPlugins(const InstallReport &report);
