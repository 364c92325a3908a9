#include "engine/entry_filter.h"

BOOL IsLeftOutEntry(const char *name)
{
    if (lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0)
        return TRUE;
    const char *extension = NULL;
    for (const char *c = name; *c; ++c) {
        if (*c == '.')
            extension = c;
    }
    return extension && (lstrcmpiA(extension, ".zip") == 0 || lstrcmpiA(extension, ".rar") == 0);
}
