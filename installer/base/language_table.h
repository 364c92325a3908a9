#pragma once

struct LanguageEntry {
    const char *DisplayName;  // single-byte ANSI, shown as the system code page renders it
    const char *Code;         // builds the language file names
};

enum { LANGUAGE_COUNT = 15, LANGUAGE_ENGLISH = 0 };

extern const LanguageEntry LanguageTable[LANGUAGE_COUNT];
