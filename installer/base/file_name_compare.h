// Whether two file or directory names are the same to the file system. It compares names in
// UTF-16 and folds the case of every letter, not only A to Z (É and é, full-width Ａ and ａ are one
// name to it): the names are converted from the ANSI code page and each unit is upper-cased, the
// same way in every user locale. Keys, labels and section names are the file manager's own ASCII
// names and keep the comparison of caseless_compare.h.
#pragma once

#include <windows.h>

// name as the file system compares it, terminated, into folded (capacity units, at least one more
// than name has bytes); returns its length in units. A name that does not convert keeps its bytes,
// one unit each.
int FoldFileName(WCHAR *folded, int capacity, const char *name);

// Folded names in the order of their units.
int CompareFoldedNames(const WCHAR *a, const WCHAR *b);

// Below, equal to or above 0 as a sorts before, equal to or after b; a total order whose equal
// names are the names SameFileName takes for one. Names of up to a path buffer's length.
int CompareFileNames(const char *a, const char *b);

BOOL SameFileName(const char *a, const char *b);
