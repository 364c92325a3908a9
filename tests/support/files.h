// Small file-system helpers for test fixtures.
#pragma once

#include <windows.h>

#include <functional>
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

// What a tree walk hands over for each entry: the entry as the search returned it, its full path
// (wide, so paths past the ANSI bound work) and its path relative to the walked root. The visitor
// answers whether to walk into a directory; links are walked only when it says so.
typedef std::function<bool(const WIN32_FIND_DATAW &entry, const std::wstring &path, const std::string &relative)>
    TreeVisitor;

// Every entry below root except "." and "..", each directory before what it holds, in the order
// the file system's search returns them.
void WalkTree(const std::wstring &root, const TreeVisitor &visit);
void WalkTree(const std::string &root, const TreeVisitor &visit);

// A wide file-system name in the ANSI code page.
std::string NarrowName(const std::wstring &name);

// A file of size bytes, sparse where the file system allows.
void WriteSizedFile(const std::string &path, unsigned long long size);

// Removes a tree, links included (they are removed, not followed), however long its paths.
void RemoveTree(const std::string &path);
