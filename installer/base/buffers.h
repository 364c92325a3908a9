// The bounds of every path and text buffer of the installer.
#pragma once

// At most 259 characters and the terminator.
enum { PATH_BUFFER_SIZE = 260, PATH_MAX_CHARS = PATH_BUFFER_SIZE - 1 };

#define COUNTOF(array) (sizeof(array) / sizeof((array)[0]))
