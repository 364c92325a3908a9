// String helpers for path buffers; none of them allocates or reports. Each one that writes takes
// the caller's buffer and its capacity in bytes, the terminator included, and never writes past it.
//
// A path that does not fit is never used cut: a cut path names another file or directory (its
// first 259 characters may end inside a name, or at a parent directory). The helpers marked
// "whole or nothing" refuse instead of cutting and say so in their result; a caller goes on with
// a refused path as with no path at all.
#pragma once

#include <windows.h>

// Position of the terminating NUL.
char *StringEnd(char *text);

// Makes a non-empty path end in a backslash; a path with no room left for the separator stays
// as it is.
void AppendBackslash(char *path, int capacity);

// Removes one trailing backslash; the trail byte of a double-byte character is none.
void StripBackslash(char *path);

// Expands %NAME% references in place from the process environment; capacity counts from text
// onward. A result that does not fit is cut to capacity - 1 bytes, and the result is FALSE when
// any substitution was cut (ExpandWhole refuses instead).
BOOL ExpandEnvRefs(char *text, int capacity);

// The last occurrence of c in text, stepping over double-byte characters (whose trail byte may
// equal a backslash); NULL when there is none.
char *LastCharOf(char *text, char c);
const char *LastCharOf(const char *text, char c);

// Bytes of text before its first c, or all of it when it holds none; for a c below 0x40, which
// no double-byte character ends in.
int LengthBefore(const char *text, char c);

// Copies at most capacity - 1 bytes of source and terminates; a longer source is cut (CopyWhole
// refuses instead).
void CopyBounded(char *target, int capacity, const char *source);

// Appends source to the string in target, cut so that target stays within capacity bytes.
void AppendBounded(char *target, int capacity, const char *source);

// Whole or nothing: target = source. FALSE, target unchanged, when source does not fit.
BOOL CopyWhole(char *target, int capacity, const char *source);

// Whole or nothing: target = directory followed by name. FALSE, target unchanged, when that
// does not fit. name may lie inside target, and directory may be target itself.
BOOL JoinPath(char *target, int capacity, const char *directory, const char *name);

// Whole or nothing: target = source with its references expanded, as ExpandEnvRefs does. FALSE,
// and an empty target, when source or its expansion does not fit; a result of exactly
// capacity - 1 bytes fits. target and source are different buffers.
BOOL ExpandWhole(char *target, int capacity, const char *source);

// Whole or nothing: the file name without its last extension ("a.b.vpx" gives "a.b"). FALSE,
// and an empty baseName, when that does not fit.
BOOL FileBaseName(char *baseName, int capacity, const char *fileName);

// What follows the flags prefix of a plugin value (its leading digits and one comma): the
// plugin file's path.
const char *SkipFlagsPrefix(const char *value);

// TRUE when directory names no directory of its own, only a whole volume or whatever directory
// is current: empty, a drive's current directory ("c:"), or a path that resolves (its "." and
// ".." steps taken) to a drive's root, the current drive's root ("\\") or a network server or
// share ("\\\\server\\share"). Also TRUE for a directory whose full path does not fit a buffer.
BOOL NamesWholeVolume(const char *directory);
