#include "engine/tree_copy.h"

// Placeholder until the tree copy is built.
int CopyTree(const char *, const char *)
{
    return 0;
}

void PumpMessages()
{
}
