// Small file-system helpers for test fixtures.
#pragma once

#include <string>

// A fresh, empty directory under the temp directory (without trailing backslash).
std::string FreshTempDirectory(const char *name);

// Creates every missing directory of path.
void MakeDirectories(const std::string &path);

// Writes a file (creating its directories); bytes as given, no byte-order mark. Paths may be
// longer than the ANSI functions take.
bool WriteTextFile(const std::string &path, const std::string &text);

// The whole content of a file, however long its path; FALSE when it cannot be opened.
bool ReadFileContent(const std::string &path, std::string *content);

// A file of size bytes, sparse where the file system allows.
void WriteSizedFile(const std::string &path, unsigned long long size);

// Removes a tree, links included (they are removed, not followed), however long its paths.
void RemoveTree(const std::string &path);
