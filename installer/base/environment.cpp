#include "base/environment.h"

#include "base/buffers.h"

namespace {

// The largest value the environment holds, in characters, terminator included.
const DWORD WIDE_VALUE_CHARS = 32767;

// Bytes the ANSI form of `count` wide characters takes.
int AnsiLength(const WCHAR *wide, int count)
{
    return count > 0 ? WideCharToMultiByte(CP_ACP, 0, wide, count, NULL, 0, NULL, NULL) : 0;
}

// Number of wide characters, from the start, whose ANSI form fits in `room` bytes; a surrogate
// pair is kept whole.
int CharsFitting(const WCHAR *wide, int count, int room)
{
    int taken = 0, used = 0;
    while (taken < count) {
        int step = IS_HIGH_SURROGATE(wide[taken]) && taken + 1 < count ? 2 : 1;
        int bytes = AnsiLength(wide + taken, step);
        if (used + bytes > room)
            break;
        used += bytes;
        taken += step;
    }
    return taken;
}

}  // namespace

DWORD ReadEnvironmentValue(char *value, DWORD capacity, const char *name)
{
    if (value && capacity > 0)
        value[0] = '\0';

    WCHAR wideName[PATH_BUFFER_SIZE];
    if (!MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, COUNTOF(wideName)))
        return 0;
    WCHAR wide[WIDE_VALUE_CHARS];
    DWORD count = GetEnvironmentVariableW(wideName, wide, COUNTOF(wide));
    if (count == 0 || count >= COUNTOF(wide))
        return 0;

    int length = AnsiLength(wide, static_cast<int>(count));
    if (!value || capacity == 0)
        return static_cast<DWORD>(length);
    int keep = static_cast<int>(count);
    if (static_cast<DWORD>(length) >= capacity)
        keep = CharsFitting(wide, keep, static_cast<int>(capacity) - 1);
    int written = keep > 0 ? WideCharToMultiByte(CP_ACP, 0, wide, keep, value, static_cast<int>(capacity) - 1,
                                                 NULL, NULL)
                           : 0;
    value[written] = '\0';
    return static_cast<DWORD>(length);
}
