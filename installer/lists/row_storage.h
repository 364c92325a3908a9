// A table of row records on the process heap (the lists may hold thousands of rows), and the
// three things every table needs: a row appended, the rows dropped, the checked ones counted.
#pragma once

#include <windows.h>

template <typename Record>
struct RowTable {
    Record *Rows;
    int Count;
    int Capacity;
};

// A new zeroed record of size bytes after the *count records of *rows (room for *capacity),
// growing the block as needed, and *count one more. NULL, nothing changed, when memory runs out.
void *AppendRecord(void **rows, int *count, int *capacity, size_t size);

// Frees the block and empties the table.
void ReleaseRecords(void **rows, int *count, int *capacity);

template <typename Record>
Record *AppendRow(RowTable<Record> &table)
{
    void *rows = table.Rows;
    void *row = AppendRecord(&rows, &table.Count, &table.Capacity, sizeof(Record));
    table.Rows = static_cast<Record *>(rows);
    return static_cast<Record *>(row);
}

template <typename Record>
void ClearRows(RowTable<Record> &table)
{
    void *rows = table.Rows;
    ReleaseRecords(&rows, &table.Count, &table.Capacity);
    table.Rows = NULL;
}

// Records with a BOOL Checked.
template <typename Record>
int CountCheckedRows(const RowTable<Record> &table)
{
    int checked = 0;
    for (int row = 0; row < table.Count; ++row) {
        if (table.Rows[row].Checked)
            ++checked;
    }
    return checked;
}
