// String helpers for the fixed 260-byte path buffers; none of them allocates or reports.
#pragma once

// Position of the terminating NUL.
char *StringEnd(char *text);

// Makes a non-empty path end in a backslash. capacity is the buffer's size in bytes;
// a path with no room left for the separator stays as it is.
void AppendBackslash(char *path, int capacity);

// Removes one trailing backslash; the trail byte of a double-byte character is none.
void StripBackslash(char *path);

// Expands %NAME% references in place from the process environment. size is the number of
// characters the buffer holds from text onward, without the terminator (at most 259).
void ExpandEnvRefs(char *text, int size);

// The last occurrence of c in text, stepping over double-byte characters (whose trail byte may
// equal a backslash); NULL when there is none.
char *LastCharOf(char *text, char c);
const char *LastCharOf(const char *text, char c);

// Copies at most capacity - 1 bytes of source and terminates: the bounded copy used everywhere.
void CopyBounded(char *target, const char *source, int capacity);

// Appends source to the string in target, cut so that target stays within capacity bytes.
void AppendBounded(char *target, const char *source, int capacity);
