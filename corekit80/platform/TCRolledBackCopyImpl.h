#pragma once

// TCRolledBackCopy, a private copy of a SQLite database whose writer died in a transaction.

#include "corekit80/types/TCString.h"

// A writer killed within a commit leaves a rollback-journal database with a hot journal, and
// SQLite lets no one read it until the transaction is undone, which only a process that may
// write the database can do. A reader without that permission reads a copy instead: the
// database and its journal are copied under a shared lock (so that no writer rolls the
// journal back or commits while they are copied) into a private folder, where opening the
// copy undoes the transaction. The folder goes with the object.
class TCRolledBackCopy {
public:
    explicit TCRolledBackCopy(const char* file);
    ~TCRolledBackCopy();
    TCRolledBackCopy(const TCRolledBackCopy&) = delete;
    TCRolledBackCopy& operator=(const TCRolledBackCopy&) = delete;

    // The copy's file; empty when none could be made (a writer busy, no room).
    const TCString& File() const { return m_file; }

private:
    TCString m_folder;
    TCString m_file;
};
