#include "engine/entry_filter.h"

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares in ASCII only: the outcome must not depend on the user's locale.
BOOL EqualsIgnoringCase(const char *text, const char *lowerCase)
{
    for (; *text && *lowerCase; ++text, ++lowerCase) {
        if (LowerAscii(*text) != *lowerCase)
            return FALSE;
    }
    return *text == *lowerCase;
}

}  // namespace

BOOL IsLeftOutEntry(const char *name)
{
    if (lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0)
        return TRUE;
    // A full stop is never the trail byte of a double-byte character, so a plain byte search
    // finds the real last full stop.
    const char *extension = NULL;
    for (const char *at = name; *at; ++at) {
        if (*at == '.')
            extension = at;
    }
    if (!extension)
        return FALSE;
    return EqualsIgnoringCase(extension, ".zip") || EqualsIgnoringCase(extension, ".rar");
}
