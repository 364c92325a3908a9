#include "engine/device_name.h"

#include "base/caseless_compare.h"

namespace {

// The file system looks at the name up to its first '.', without the blanks before it.
BOOL IsReservedDeviceName(const char *name)
{
    int length = 0;
    while (name[length] && name[length] != '.')
        ++length;
    while (length > 0 && name[length - 1] == ' ')
        --length;
    if (length != 3 && length != 4)
        return FALSE;
    char stem[5];
    CopyMemory(stem, name, length);
    stem[length] = '\0';

    const char *const plain[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char *device : plain) {
        if (EqualsIgnoringCase(stem, device))
            return TRUE;
    }
    // COM1 to COM9 and LPT1 to LPT9.
    if (length == 4 && stem[3] >= '1' && stem[3] <= '9') {
        stem[3] = '\0';
        return EqualsIgnoringCase(stem, "COM") || EqualsIgnoringCase(stem, "LPT");
    }
    return FALSE;
}

}  // namespace

BOOL IsSafeDeviceName(const char *name)
{
    if (!name[0] || lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0)
        return FALSE;
    char last = '\0';
    for (const char *c = name; *c; ++c) {
        if (*c == '/' || *c == ':')
            return FALSE;
        last = *c;
    }
    return last != '.' && last != ' ' && !IsReservedDeviceName(name);
}
