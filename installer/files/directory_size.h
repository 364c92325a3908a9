#pragma once

// Bytes in a directory tree, without the entries the tree copy leaves out. Entries whose path
// would not fit a path buffer, and links back into the walked path, are not counted.
unsigned long long DirectorySize(const char *directory);
