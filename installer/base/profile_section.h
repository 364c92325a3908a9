// One section of a settings file read at once, answering what the per-key profile reads of it
// answer: thousands of per-key reads each read or search the whole file again.
#pragma once

#include <windows.h>

#include "base/buffers.h"

struct ProfileSection {
    char File[PATH_BUFFER_SIZE];
    char Name[PATH_BUFFER_SIZE];
    // The section's lines as GetPrivateProfileSectionA gives them ("name=value" or a bare
    // "name", each ended by a zero byte); NULL when it could not be held: then every answer comes
    // from the per-key read itself.
    char *Text;
    int *Entries;      // where each line starts in Text, in file order
    int EntryCount;
    int *Slots;        // open hash of the names: index + 1 of the first line of each name, 0 free
    int SlotCount;
};

// Reads the section name of file (a missing file or section reads as an empty section). The
// caller frees it with FreeProfileSection.
void ReadProfileSection(ProfileSection *section, const char *file, const char *name);

void FreeProfileSection(ProfileSection *section);

// What GetPrivateProfileStringA(name, NULL, "", target, capacity, file) gives: the key names,
// each ended by a zero byte, cut as that list is cut at capacity.
int SectionKeyNames(char *target, int capacity, const ProfileSection *section);

// What GetPrivateProfileStringA(name, key, "", target, capacity, file) gives: the value of the
// key's first line, quotes and cut as that read gives them, and the same count.
int SectionValue(char *target, int capacity, const ProfileSection *section, const char *key);
