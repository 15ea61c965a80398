#pragma once

// The log sink: a locked file descriptor written with one system call per line.

#include <cstddef>

// The file under a log: opened close-on-exec and locked against a second writer, and
// written with one system call per line, so that a line that was written survives a
// crash of the process. Files are plain descriptors; -1 is the invalid one.

struct TCLogSinkPiece {
    const void* data;
    size_t size;
};

// Opens (creating) path for writing; append keeps the content and writes at its end,
// otherwise the file is emptied, but only once the lock is held. -1 when the file
// cannot be opened or another writer holds it.
int TCLogSinkOpen(const char* path, bool append);

// Writes the pieces in this order with one gathering write; true when all were written.
bool TCLogSinkWrite(int fd, const TCLogSinkPiece* pieces, int count);

// Brings the file's data to the disk.
bool TCLogSinkSync(int fd);

// Closes the file (releasing its lock); true without error.
bool TCLogSinkClose(int fd);
