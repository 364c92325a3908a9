#include "base/path_helpers.h"

#include <windows.h>

#include "base/environment.h"
#include "base/buffers.h"

namespace {

// A value that refers back to itself would otherwise expand for ever.
const int MAX_SUBSTITUTIONS = 64;
// Room given to the lookup, terminator included: values of up to 258 bytes are used.
const DWORD VALUE_CAPACITY = 259;

// Replaces text[start, end) with value, in place; the result is cut to capacity - 1 bytes.
// FALSE when it was cut.
BOOL ReplaceSpan(char *text, int capacity, int start, int end, const char *value)
{
    int room = capacity - 1;
    int valueLength = lstrlenA(value);
    int tailLength = lstrlenA(text + end);
    if (start >= room) {
        text[room] = '\0';
        return valueLength + tailLength == 0;
    }
    int valueKept = valueLength < room - start ? valueLength : room - start;
    int tailAt = start + valueKept;
    int tailKept = tailLength < room - tailAt ? tailLength : room - tailAt;
    // The tail first: it lies where the value goes when the value is the longer one.
    MoveMemory(text + tailAt, text + end, tailKept);
    CopyMemory(text + start, value, valueKept);
    text[tailAt + tailKept] = '\0';
    return valueKept == valueLength && tailKept == tailLength;
}

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

int LengthBefore(const char *text, char c)
{
    int length = 0;
    while (text[length] && text[length] != c)
        ++length;
    return length;
}

char *LastCharOf(char *text, char c)
{
    return const_cast<char *>(LastCharOf(static_cast<const char *>(text), c));
}

void CopyBounded(char *target, int capacity, const char *source)
{
    if (capacity <= 0)
        return;
    int i = 0;
    for (; i < capacity - 1 && source[i]; ++i)
        target[i] = source[i];
    target[i] = '\0';
}

void AppendBounded(char *target, int capacity, const char *source)
{
    int length = lstrlenA(target);
    if (length < capacity)
        CopyBounded(target + length, capacity - length, source);
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

BOOL ExpandEnvRefs(char *text, int capacity)
{
    if (capacity <= 0)
        return FALSE;
    BOOL whole = TRUE;
    for (int round = 0; round < MAX_SUBSTITUTIONS; ++round) {
        char *open = text;
        while (*open && *open != '%')
            ++open;
        if (!*open)
            return whole;
        char *close = open + 1;
        while (*close && *close != '%')
            ++close;
        if (!*close || close == open + 1)
            return whole;

        char name[PATH_BUFFER_SIZE];
        int nameLength = static_cast<int>(close - open - 1);
        if (nameLength > PATH_MAX_CHARS)
            nameLength = PATH_MAX_CHARS;
        CopyMemory(name, open + 1, nameLength);
        name[nameLength] = '\0';

        char value[PATH_BUFFER_SIZE];
        DWORD got = ReadEnvironmentValue(value, VALUE_CAPACITY, name);
        // 0: unset or empty. VALUE_CAPACITY or more: the value did not fit and the buffer
        // holds only a cut part of it, so stop as for an unset variable.
        if (got == 0 || got >= VALUE_CAPACITY)
            return whole;
        // A cut made along the way stays a cut, even where a later, shorter value brings the
        // length back under the capacity.
        if (!ReplaceSpan(text, capacity, static_cast<int>(open - text), static_cast<int>(close + 1 - text), value))
            whole = FALSE;
    }
    return whole;
}

BOOL CopyWhole(char *target, int capacity, const char *source)
{
    if (lstrlenA(source) > capacity - 1)
        return FALSE;
    CopyBounded(target, capacity, source);
    return TRUE;
}

BOOL JoinPath(char *target, int capacity, const char *directory, const char *name)
{
    int directoryLength = lstrlenA(directory);
    int nameLength = lstrlenA(name);
    if (directoryLength + nameLength > capacity - 1)
        return FALSE;
    // The name first: it may lie in target, where the directory is about to go.
    MoveMemory(target + directoryLength, name, nameLength + 1);
    MoveMemory(target, directory, directoryLength);
    return TRUE;
}

BOOL ExpandWhole(char *target, int capacity, const char *source)
{
    if (capacity <= 0)
        return FALSE;
    target[0] = '\0';
    if (lstrlenA(source) > capacity - 1)
        return FALSE;
    CopyBounded(target, capacity, source);
    // The expansion reports every cut itself: a result that fills the buffer exactly is whole,
    // as the same path written out is.
    if (ExpandEnvRefs(target, capacity))
        return TRUE;
    target[0] = '\0';
    return FALSE;
}

BOOL FileBaseName(char *baseName, int capacity, const char *fileName)
{
    if (capacity <= 0)
        return FALSE;
    const char *lastDot = LastCharOf(fileName, '.');
    int length = lastDot ? static_cast<int>(lastDot - fileName) : lstrlenA(fileName);
    if (length > capacity - 1) {
        baseName[0] = '\0';
        return FALSE;
    }
    MoveMemory(baseName, fileName, length);
    baseName[length] = '\0';
    return TRUE;
}

const char *SkipFlagsPrefix(const char *value)
{
    while (*value >= '0' && *value <= '9')
        ++value;
    if (*value == ',')
        ++value;
    return value;
}

namespace {

// A full path that is a volume's root: "c:\", "\\server", "\\server\share", the last with or
// without a trailing backslash.
BOOL IsVolumeRoot(const char *full)
{
    // A colon is never the trail byte of a double-byte character.
    if (full[0] && !IsDBCSLeadByte(static_cast<BYTE>(full[0])) && full[1] == ':')
        return !full[2] || (full[2] == '\\' && !full[3]);
    if (full[0] != '\\' || full[1] != '\\')
        return FALSE;
    int separators = 0;
    for (const char *c = full + 2; *c; c = CharNextA(c)) {
        if (*c == '\\' && ++separators == 2)
            return !c[1];
    }
    return TRUE;
}

}  // namespace

BOOL NamesWholeVolume(const char *directory)
{
    // No directory, or a drive's current one ("c:"), which may be anything.
    if (!directory[0] || (!IsDBCSLeadByte(static_cast<BYTE>(directory[0])) && directory[1] == ':' && !directory[2]))
        return TRUE;
    // Steps such as "." and "..", and doubled separators, resolved as the file system resolves them.
    char full[PATH_BUFFER_SIZE];
    DWORD length = GetFullPathNameA(directory, COUNTOF(full), full, NULL);
    if (length == 0 || length >= COUNTOF(full))
        return TRUE;
    return IsVolumeRoot(full);
}
