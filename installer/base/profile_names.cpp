#include "base/profile_names.h"

namespace {

BOOL IsAscii(const char *name, int length)
{
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return FALSE;
    }
    return TRUE;
}

WCHAR FoldAscii(char c)
{
    return static_cast<WCHAR>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c));
}

// The profile functions fold only the letters A to Z (measured: accented and fullwidth letters
// keep their case); a double-byte character's trail byte is no letter, hence the wide form.
WCHAR FoldWide(WCHAR c)
{
    return static_cast<WCHAR>(c >= L'A' && c <= L'Z' ? c + 0x20 : c);
}

// The name widened from the ANSI code page and folded, on the heap (the caller frees it); NULL
// when there is no memory for it.
WCHAR *FoldedWide(const char *name, int length, int *foldedLength)
{
    int wide = length ? MultiByteToWideChar(CP_ACP, 0, name, length, NULL, 0) : 0;
    WCHAR *folded = static_cast<WCHAR *>(HeapAlloc(GetProcessHeap(), 0, (wide + 1) * sizeof(WCHAR)));
    if (!folded)
        return NULL;
    if (wide)
        MultiByteToWideChar(CP_ACP, 0, name, length, folded, wide);
    for (int i = 0; i < wide; ++i)
        folded[i] = FoldWide(folded[i]);
    *foldedLength = wide;
    return folded;
}

unsigned HashStep(unsigned hash, WCHAR c)
{
    return (hash ^ c) * 16777619u;
}

const unsigned HASH_START = 2166136261u;

}  // namespace

BOOL IsProfileBlank(char c)
{
    return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1A';
}

void TrimProfileName(const char **start, int *length)
{
    while (*length > 0 && IsProfileBlank(**start)) {
        ++*start;
        --*length;
    }
    while (*length > 0 && IsProfileBlank((*start)[*length - 1]))
        --*length;
}

unsigned ProfileNameHash(const char *name, int length)
{
    unsigned hash = HASH_START;
    if (IsAscii(name, length)) {
        for (int i = 0; i < length; ++i)
            hash = HashStep(hash, FoldAscii(name[i]));
        return hash;
    }
    int foldedLength = 0;
    WCHAR *folded = FoldedWide(name, length, &foldedLength);
    if (!folded)
        return hash;
    for (int i = 0; i < foldedLength; ++i)
        hash = HashStep(hash, folded[i]);
    HeapFree(GetProcessHeap(), 0, folded);
    return hash;
}

BOOL SameProfileName(const char *a, int aLength, const char *b, int bLength)
{
    if (IsAscii(a, aLength) && IsAscii(b, bLength)) {
        if (aLength != bLength)
            return FALSE;
        for (int i = 0; i < aLength; ++i) {
            if (FoldAscii(a[i]) != FoldAscii(b[i]))
                return FALSE;
        }
        return TRUE;
    }
    int aFoldedLength = 0, bFoldedLength = 0;
    WCHAR *aFolded = FoldedWide(a, aLength, &aFoldedLength);
    WCHAR *bFolded = FoldedWide(b, bLength, &bFoldedLength);
    BOOL same = aFolded && bFolded && aFoldedLength == bFoldedLength &&
                memcmp(aFolded, bFolded, aFoldedLength * sizeof(WCHAR)) == 0;
    HeapFree(GetProcessHeap(), 0, aFolded);
    HeapFree(GetProcessHeap(), 0, bFolded);
    return same;
}
