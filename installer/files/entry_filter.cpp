#include "files/entry_filter.h"

#include "base/caseless_compare.h"

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
