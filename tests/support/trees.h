// Directory trees of the tests: made from a list, walked, listed and removed, however long their
// paths (wide-character functions throughout).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// "c:\a\b" + "x" with one backslash between.
std::string Join(const std::string &directory, const std::string &name);

// Entries relative to root: a name ending in a backslash is a directory, any other a file whose
// content is its own relative path (so that every file is told apart by its content).
void BuildTree(const std::string &root, const std::vector<std::string> &entries);

// What a tree walk hands over for each entry: the entry as the search returned it, its full path
// (wide, so paths past the ANSI bound work) and its path relative to the walked root. The visitor
// answers whether to walk into a directory; links are walked only when it says so.
typedef std::function<bool(const WIN32_FIND_DATAW &entry, const std::wstring &path, const std::string &relative)>
    TreeVisitor;

// Every entry below root except "." and "..", each directory before what it holds, in the order
// the file system's search returns them.
void WalkTree(const std::wstring &root, const TreeVisitor &visit);
void WalkTree(const std::string &root, const TreeVisitor &visit);

// Names of the entries directly in dir, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string &dir);

// Every entry below root, relative ("a\b.txt"), sorted; directories end in a backslash. Links are
// listed by their name alone and not followed. Empty when root does not exist.
std::vector<std::string> ListTree(const std::string &root);

// The files of ListTree alone.
std::vector<std::string> ListTreeFiles(const std::string &root);

// Removes a tree, links included (they are removed, not followed), however long its paths.
void RemoveTree(const std::string &path);
