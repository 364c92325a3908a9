// Room for the records of a row table, on the process heap: the lists may hold thousands of rows.
#pragma once

#include <windows.h>

// Makes room for one more record of size bytes after count records in *rows (capacity records
// now), growing the block as needed; the new record is zeroed. NULL when memory runs out.
void *NextRecord(void **rows, int *capacity, int count, size_t size);

// Frees the block and empties *rows.
void ReleaseRecords(void **rows, int *capacity);
