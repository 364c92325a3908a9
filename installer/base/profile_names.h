// Key and section names of settings files as the profile functions match them: character by
// character in the ANSI code page's Unicode form, the letters A to Z without regard to case,
// after the blanks around the name are dropped.
#pragma once

#include <windows.h>

// Whether c is one of the blanks the profile functions drop around names and values (tab to
// carriage return, space, and the DOS end-of-file mark).
BOOL IsProfileBlank(char c);

// The name's first and last characters that are not blanks: *start advanced, *length shortened.
void TrimProfileName(const char **start, int *length);

// A hash of the folded name (length bytes), equal for names the profile functions take as one.
unsigned ProfileNameHash(const char *name, int length);

// Whether the two names (lengths in bytes) are one key or section for the profile functions.
BOOL SameProfileName(const char *a, int aLength, const char *b, int bLength);
