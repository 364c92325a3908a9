#include "support/walk_bound.h"

#include <windows.h>

#include "files/directory_walk.h"

namespace {

int CountEntry(void *context)
{
    int *entries = static_cast<int *>(context);
    return ++*entries < LINKED_TREE_ENTRY_BOUND ? WALK_GO_ON : WALK_STOP;
}

}  // namespace

::testing::AssertionResult WalkOfLinkedTreeEnds(const std::string &root)
{
    DirectoryWalk walk;
    if (!BeginWalk(&walk, root.c_str()))
        return ::testing::AssertionFailure() << "the tree " << root << " cannot be walked: its path does not fit";
    const DirectoryVisitor counter = {CountEntry, NULL, NULL, NULL, NULL, NULL};
    int entries = 0;
    if (!WalkDirectory(&walk, &counter, &entries))
        return ::testing::AssertionFailure() << "the walk of the tree " << root << " did not end within "
                                             << LINKED_TREE_ENTRY_BOUND
                                             << " entries: it follows a link back into the tree";
    return ::testing::AssertionSuccess() << "the walk of " << root << " ended after " << entries << " entries";
}
