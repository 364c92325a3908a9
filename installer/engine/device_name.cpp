#include "engine/device_name.h"

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
    return last != '.' && last != ' ';
}
