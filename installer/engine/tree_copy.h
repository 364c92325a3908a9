#pragma once

#include "engine/installation.h"

// Copies a directory tree into an existing target directory without replacing files, letting
// messages through before each entry and putting failed copies to the user through report.
// Returns 1 when the whole tree was handled, 0 when it stopped early.
int CopyTree(const char *source, const char *target, const InstallReport &report);
