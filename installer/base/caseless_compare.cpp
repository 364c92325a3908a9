#include "base/caseless_compare.h"

namespace {

unsigned char FoldAscii(char c)
{
    return static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
}

// Compares a and b up to the terminator, or up to the end of prefix when prefixOnly is set.
int CompareFolded(const char *a, const char *b, BOOL prefixOnly)
{
    for (;;) {
        if (prefixOnly && !*b)
            return 0;
        if (*a == *b && *a && IsDBCSLeadByte(static_cast<BYTE>(*a))) {
            // Same lead byte: the trail byte must match exactly.
            if (a[1] != b[1])
                return static_cast<unsigned char>(a[1]) - static_cast<unsigned char>(b[1]);
            if (!a[1])
                return 0;
            a += 2;
            b += 2;
            continue;
        }
        int difference = FoldAscii(*a) - FoldAscii(*b);
        if (difference || !*a)
            return difference;
        ++a;
        ++b;
    }
}

}  // namespace

int CompareIgnoringCase(const char *a, const char *b)
{
    return CompareFolded(a, b, FALSE);
}

BOOL EqualsIgnoringCase(const char *a, const char *b)
{
    return CompareFolded(a, b, FALSE) == 0;
}

BOOL StartsWithIgnoringCase(const char *text, const char *prefix)
{
    return CompareFolded(text, prefix, TRUE) == 0;
}
