#include "base/file_name_compare.h"

#include "base/buffers.h"

int FoldFileName(WCHAR *folded, int capacity, const char *name)
{
    if (capacity <= 0)
        return 0;
    int units = MultiByteToWideChar(CP_ACP, 0, name, -1, folded, capacity);
    // Without linguistic casing the mapping is one unit for one unit, as the file system's table.
    if (units > 0 && LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, folded, units, folded, capacity) == units)
        return units - 1;
    int length = 0;
    for (; name[length] && length < capacity - 1; ++length)
        folded[length] = static_cast<unsigned char>(name[length]);
    folded[length] = 0;
    return length;
}

int CompareFoldedNames(const WCHAR *a, const WCHAR *b)
{
    for (; *a && *a == *b; ++a, ++b) {
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

int CompareFileNames(const char *a, const char *b)
{
    WCHAR foldedA[PATH_BUFFER_SIZE], foldedB[PATH_BUFFER_SIZE];
    FoldFileName(foldedA, COUNTOF(foldedA), a);
    FoldFileName(foldedB, COUNTOF(foldedB), b);
    return CompareFoldedNames(foldedA, foldedB);
}

BOOL SameFileName(const char *a, const char *b)
{
    return CompareFileNames(a, b) == 0;
}
