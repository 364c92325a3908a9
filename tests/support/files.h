// Small file-system helpers for test fixtures. Paths may be longer than the ANSI functions take:
// everything here goes through the wide-character functions.
#pragma once

#include <windows.h>

#include <string>

// A path or name in the ANSI code page, widened.
std::wstring Wide(const std::string &text);

// A wide file-system name in the ANSI code page.
std::string NarrowName(const std::wstring &name);

// Creates every missing directory of path.
void MakeDirectories(const std::string &path);

// Writes a file (creating its directories); bytes as given, no byte-order mark.
bool WriteTextFile(const std::string &path, const std::string &text);

// WriteTextFile, then the attributes (0 leaves those the file was created with).
bool WriteFileBytes(const std::string &path, const std::string &content, DWORD attributes = 0);

// The whole content of a file, however long its path; FALSE when it cannot be opened.
bool ReadFileBytes(const std::string &path, std::string *content);

// The whole content of a file, or "" when it cannot be read.
std::string ReadWholeFile(const std::string &path);

bool PathExists(const std::string &path);

// The Windows directory, without trailing backslash.
std::string WindowsDirectory();

// A file directly in the Windows directory.
std::string WindowsFile(const char *name);

// A file of size bytes, sparse where the file system allows.
void WriteSizedFile(const std::string &path, unsigned long long size);
