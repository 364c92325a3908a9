// A bound of the tests' own for walks of trees that hold links back into themselves. With the
// link guard broken such a tree has no end (every link back opens it again below itself), and a
// walk of it runs for hours before the path bound stops it. Walked first under a count of its
// entries, the tree shows that as a quick failure that names it.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Far beyond the entries of any tree the tests give links (a few dozen, "." and ".." included):
// only a walk that follows a link back runs into it.
enum { LINKED_TREE_ENTRY_BOUND = 1000 };

// Walks root with the installer's own walk (its entry filter, path bounds and link guard) and
// counts the entries its searches find. Fails, naming root, when the count reaches
// LINKED_TREE_ENTRY_BOUND before the walk ends, or when root cannot be walked at all.
::testing::AssertionResult WalkOfLinkedTreeEnds(const std::string &root);
