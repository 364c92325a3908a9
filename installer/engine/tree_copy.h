#pragma once

// Copies a directory tree into an existing target directory without replacing files.
// Returns 1 when the whole tree was handled, 0 when it stopped early.
int CopyTree(const char *source, const char *target);
