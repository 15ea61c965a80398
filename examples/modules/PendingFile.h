#pragma once

// PendingFile, an output file that appears under its own name only when it is complete.

#include <cstdio>

#include <corekit80/types/TCString.h>

// Written under a temporary name beside the target ("NAME.part") and renamed to the
// target by Commit, so that a reader never finds half a file and a failed run leaves an
// earlier file of that name as it was. The destructor discards what was not committed.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { Discard(); }

    // Creates the temporary file; false with Error() telling why.
    bool Open(const char* path);
    bool IsOpen() const { return m_file != nullptr; }
    // False, and the file discarded, when the bytes could not be written.
    bool Write(const TCString& text);
    // Closes the file and gives it its name; false (and discarded) on failure.
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();
    const char* Path() const { return m_path; }
    const char* Error() const { return m_error; }

private:
    bool Failed(const char* what);

    std::FILE* m_file = nullptr;
    TCString m_path;
    TCString m_temp;
    TCString m_error;
};
