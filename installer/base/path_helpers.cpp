#include "base/path_helpers.h"

#include <windows.h>

#include "base/environment.h"
#include "base/install_state.h"

namespace {

// A value that refers back to itself would otherwise expand for ever.
const int MAX_SUBSTITUTIONS = 64;
const int ASSEMBLY_CHARS = 1023;
// Room given to the lookup, terminator included: values of up to 258 bytes are used.
const DWORD VALUE_CAPACITY = 259;

}  // namespace

char *StringEnd(char *text)
{
    while (*text)
        ++text;
    return text;
}

const char *LastCharOf(const char *text, char c)
{
    const char *last = NULL;
    for (; *text; text = CharNextA(text)) {
        if (*text == c)
            last = text;
    }
    return last;
}

char *LastCharOf(char *text, char c)
{
    return const_cast<char *>(LastCharOf(static_cast<const char *>(text), c));
}

void CopyBounded(char *target, const char *source, int capacity)
{
    if (capacity <= 0)
        return;
    int i = 0;
    for (; i < capacity - 1 && source[i]; ++i)
        target[i] = source[i];
    target[i] = '\0';
}

void AppendBounded(char *target, const char *source, int capacity)
{
    int length = lstrlenA(target);
    if (length < capacity)
        CopyBounded(target + length, source, capacity - length);
}

void AppendBackslash(char *path, int capacity)
{
    int length = lstrlenA(path);
    if (length == 0)
        return;
    // Character-aware: in a double-byte code page the trail byte of the last character
    // may be 0x5C without being a separator.
    const char *last = CharPrevA(path, path + length);
    if (*last == '\\')
        return;
    if (length + 2 > capacity)
        return;
    path[length] = '\\';
    path[length + 1] = '\0';
}

void StripBackslash(char *path)
{
    int length = lstrlenA(path);
    if (length == 0)
        return;
    // Character-aware, as AppendBackslash: removing the trail byte 0x5C of a double-byte
    // character would cut the last name of the path in half.
    char *last = CharPrevA(path, path + length);
    if (*last == '\\')
        *last = '\0';
}

void ExpandEnvRefs(char *text, int size)
{
    if (size > PATH_MAX_CHARS)
        size = PATH_MAX_CHARS;
    for (int round = 0; round < MAX_SUBSTITUTIONS; ++round) {
        char *open = text;
        while (*open && *open != '%')
            ++open;
        if (!*open)
            return;
        char *close = open + 1;
        while (*close && *close != '%')
            ++close;
        if (!*close || close == open + 1)
            return;

        char name[PATH_BUFFER_SIZE];
        int nameLength = static_cast<int>(close - open - 1);
        if (nameLength > PATH_MAX_CHARS)
            nameLength = PATH_MAX_CHARS;
        CopyMemory(name, open + 1, nameLength);
        name[nameLength] = '\0';

        char value[PATH_BUFFER_SIZE];
        DWORD got = ReadEnvironmentValue(name, value, VALUE_CAPACITY);
        // 0: unset or empty. VALUE_CAPACITY or more: the value did not fit and the buffer
        // holds only a cut part of it, so stop as for an unset variable.
        if (got == 0 || got >= VALUE_CAPACITY)
            return;

        char assembled[ASSEMBLY_CHARS + 1];
        int prefixLength = static_cast<int>(open - text);
        if (prefixLength > ASSEMBLY_CHARS)
            prefixLength = ASSEMBLY_CHARS;
        CopyMemory(assembled, text, prefixLength);
        assembled[prefixLength] = '\0';
        AppendBounded(assembled, value, COUNTOF(assembled));
        AppendBounded(assembled, close + 1, COUNTOF(assembled));
        CopyBounded(text, assembled, size + 1);
    }
}
