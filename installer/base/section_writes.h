// Keys of one settings file gathered per section and written once per section when flushed,
// giving the file the per-key writes (WritePrivateProfileStringA) would give it: each of those
// rewrites the whole file, so thousands of them take minutes.
#pragma once

#include <windows.h>

// Starts gathering for file; what an earlier gathering left unflushed is dropped.
void BeginSectionWrites(const char *file);

// As WritePrivateProfileStringA(section, key, value, file) would, at the flush; a NULL value
// removes the key.
void GatherSectionKey(const char *section, const char *key, const char *value);

// Writes what was gathered, section by section in the order the per-key writes would have made
// them, and ends the gathering.
void FlushSectionWrites();
