// TCProfileStore on SQLite: connections per scope, keys, typed values, fork safety.
#include "corekit80/platform/TCProfileStoreImpl.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "corekit80/platform/TCEnvironmentImpl.h"
#include "corekit80/platform/TCRolledBackCopyImpl.h"
#include "corekit80/platform/TCShellFolderImpl.h"

namespace {

constexpr int kBusyTimeoutMs = 5000;
// The registry's own limits on the length of key and value names.
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

// Value paths are not tied to the keys table by id: a value's path compares like a key's,
// so its case does not matter, and a read needs one lookup only.
const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS keys(path TEXT PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS vals(path TEXT NOT NULL COLLATE NOCASE,"
    " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data,"
    " PRIMARY KEY(path, name)) WITHOUT ROWID;";

enum Statement {
    SELECT_VALUE, SELECT_KEY, INSERT_KEY, UPSERT_VALUE, DELETE_VALUE, BEGIN, COMMIT, ROLLBACK,
    STATEMENT_COUNT
};
const char* const kStatementText[STATEMENT_COUNT] = {
    "SELECT type, data FROM vals WHERE path = ?1 AND name = ?2",
    "SELECT 1 FROM keys WHERE path = ?1",
    "INSERT OR IGNORE INTO keys(path) VALUES(?1)",
    // An existing value keeps the case of its name.
    "INSERT INTO vals(path, name, type, data) VALUES(?1, ?2, ?3, ?4)"
    " ON CONFLICT(path, name) DO UPDATE SET type = excluded.type, data = excluded.data",
    "DELETE FROM vals WHERE path = ?1 AND name = ?2",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};

// One open database of a scope, with its prepared statements. The file's identity is
// kept so that a file replaced or removed behind our back is reopened, not written blind.
struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

struct Connection {
    // Declared before the statements, so that they are finalized before it closes.
    std::unique_ptr<sqlite3, CloseDatabase> db;
    TCString file;
    dev_t device = 0;
    ino_t inode = 0;
    bool writeReady = false;
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> statements[STATEMENT_COUNT];

    void Close()
    {
        for (auto& s : statements)
            s.reset();
        db.reset();
        writeReady = false;
    }

    // Prepared on first use: a database without our tables fails here and reads as empty.
    sqlite3_stmt* Get(Statement which)
    {
        auto& s = statements[which];
        if (!s) {
            sqlite3_stmt* prepared = nullptr;
            if (sqlite3_prepare_v3(db.get(), kStatementText[which], -1, SQLITE_PREPARE_PERSISTENT, &prepared,
                                   nullptr) == SQLITE_OK)
                s.reset(prepared);
            else
                sqlite3_finalize(prepared);
        }
        return s.get();
    }
};

// One lock guards both scopes; fork takes it, so no connection is half used at a fork.
std::mutex s_lock;
struct Connections {
    Connection scope[2];
    ~Connections()
    {
        std::lock_guard<std::mutex> guard(s_lock);
        CloseAll();
    }
    void CloseAll()
    {
        for (Connection& c : scope)
            c.Close();
    }
};
Connections s_connections;

// SQLite connections must not cross fork: both processes close them before the fork and
// open their own on next use.
void BeforeFork()
{
    s_lock.lock();
    s_connections.CloseAll();
}
void AfterFork() { s_lock.unlock(); }
[[maybe_unused]] const int s_forkHandlers = pthread_atfork(BeforeFork, AfterFork, AfterFork);

mode_t FileMode(TCProfileStore::Scope scope)
{
    return scope == TCProfileStore::USER ? 0600 : 0644;
}

mode_t FolderMode(TCProfileStore::Scope scope)
{
    return scope == TCProfileStore::USER ? 0700 : 0755;
}

// Creates the folders above the file and the empty file with the scope's mode.
bool CreateFile(TCProfileStore::Scope scope, const TCString& file)
{
    TCString folder(file);
    for (int slash = folder.Find('/', 1); slash > 0; slash = folder.Find('/', slash + 1)) {
        folder.SetAt(slash, 0);
        if (mkdir(folder, FolderMode(scope)) != 0 && errno != EEXIST)
            return false;
        folder.SetAt(slash, '/');
    }
    const int fd = open(file, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, FileMode(scope));
    if (fd < 0)
        return errno == EEXIST;
    fchmod(fd, FileMode(scope));
    close(fd);
    return true;
}

bool Exec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The connection of a scope for a read or a write; null when the scope has no usable
// database (for a read: none at all, as reads never create one).
Connection* Acquire(TCProfileStore::Scope scope, bool write)
{
    const TCString file = TCProfileStore::FileOf(scope);
    if (file.IsEmpty())
        return nullptr;
    Connection& c = s_connections.scope[scope];
    struct stat st;
    bool exists = stat(file, &st) == 0;
    if (c.db && (!exists || c.file.CompareBin(file) != 0 || st.st_dev != c.device ||
                 st.st_ino != c.inode))
        c.Close();
    if (!exists) {
        if (!write || !CreateFile(scope, file) || stat(file, &st) != 0)
            return nullptr;
    }
    if (!c.db) {
        // Without write permission SQLite falls back to reading only, and writes fail.
        sqlite3* db = nullptr;
        // A handle is made even when opening fails; it must be closed all the same.
        const int opened = sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        c.db.reset(db);
        if (opened != SQLITE_OK) {
            c.Close();
            return nullptr;
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        if (scope == TCProfileStore::USER)
            Exec(db, "PRAGMA synchronous=NORMAL");
        c.file = file;
        c.device = st.st_dev;
        c.inode = st.st_ino;
    }
    if (write && !c.writeReady) {
        const char* journal =
            scope == TCProfileStore::USER ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE";
        if (!Exec(c.db.get(), journal) || !Exec(c.db.get(), kSchema))
            return nullptr;
        c.writeReady = true;
    }
    return &c;
}

// The key as a canonical path: names separated by single '\\', no empty names. False when
// a name is longer than the registry allows.
bool KeyPath(const char* key, TCString& path)
{
    path.Empty();
    for (const char* p = key ? key : ""; *p;) {
        const size_t n = strcspn(p, "\\");
        if (n > kMaxKeyNameLength)
            return false;
        if (n > 0) {
            if (!path.IsEmpty())
                path += '\\';
            path.Append(p, static_cast<int>(n));
        }
        p += n + (p[n] != 0);
    }
    return true;
}

const char* ValueName(const char* name)
{
    name = name ? name : "";
    return strnlen(name, kMaxValueNameLength + 1) <= kMaxValueNameLength ? name : nullptr;
}

void BindText(sqlite3_stmt* s, int index, const char* text)
{
    sqlite3_bind_text(s, index, text, -1, SQLITE_STATIC);
}

// Steps a statement that returns no rows, then resets it.
bool Run(sqlite3_stmt* s)
{
    const int rc = s ? sqlite3_step(s) : SQLITE_ERROR;
    if (s)
        sqlite3_reset(s);
    return rc == SQLITE_DONE;
}

// Steps a lookup on a connection and hands its row, if any, to `use` while it is current;
// rc receives SQLite's answer.
template <class Bind, class Use>
bool Step(Connection& c, Statement which, const Bind& bind, const Use& use, int& rc)
{
    sqlite3_stmt* s = c.Get(which);
    if (!s) {
        rc = sqlite3_extended_errcode(c.db.get());
        return false;
    }
    bind(s);
    rc = sqlite3_step(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        rc = sqlite3_extended_errcode(c.db.get());
    const bool found = rc == SQLITE_ROW && use(s);
    sqlite3_reset(s);
    return found;
}

// Runs a lookup on the scope's database. One that a killed writer left in a transaction that
// this process may not undo (a machine database read by a user) is read from a rolled-back copy.
template <class Bind, class Use>
bool Lookup(TCProfileStore::Scope scope, Statement which, const Bind& bind, const Use& use)
{
    std::lock_guard<std::mutex> guard(s_lock);
    Connection* c = Acquire(scope, false);
    if (!c)
        return false;
    int rc = SQLITE_OK;
    const bool found = Step(*c, which, bind, use, rc);
    if (rc != SQLITE_READONLY_ROLLBACK)
        return found;
    // The copy's lock goes when its handle is closed, and with it every lock this process
    // holds on the file: the connection must hold none.
    const TCString file = c->file;
    c->Close();
    TCRolledBackCopy copy(file);
    if (copy.File().IsEmpty())
        return false;
    Connection rolledBack;
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(copy.File(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    rolledBack.db.reset(db);
    return opened == SQLITE_OK && Step(rolledBack, which, bind, use, rc);
}

// Looks a value up and hands its row to `use` while the row is current.
template <class Use>
bool ReadValue(TCProfileStore::Scope scope, const char* key, const char* name, Use use)
{
    TCString path;
    const char* valueName = ValueName(name);
    if (!KeyPath(key, path) || !valueName)
        return false;
    const auto bind = [&](sqlite3_stmt* s) {
        BindText(s, 1, path);
        BindText(s, 2, valueName);
    };
    return Lookup(scope, SELECT_VALUE, bind, use);
}

// Runs `change` inside one write transaction on the key, which is created first.
bool WriteValue(TCProfileStore::Scope scope, const char* key, const char* name,
                const std::function<bool(Connection&, const char* path, const char* name)>& change)
{
    TCString path;
    const char* valueName = ValueName(name);
    if (!KeyPath(key, path) || !valueName)
        return false;
    std::lock_guard<std::mutex> guard(s_lock);
    Connection* c = Acquire(scope, true);
    if (!c || !Run(c->Get(BEGIN)))
        return false;
    sqlite3_stmt* insertKey = c->Get(INSERT_KEY);
    bool ok = insertKey != nullptr;
    if (ok) {
        BindText(insertKey, 1, path);
        ok = Run(insertKey);
        // A new key: its parents may be missing too. Existing keys have all theirs.
        if (ok && sqlite3_changes(c->db.get()) > 0) {
            TCString parent(path);
            for (int i = parent.ReverseFind('\\'); ok && i > 0; i = parent.ReverseFind('\\')) {
                parent.SetLength(i);
                BindText(insertKey, 1, parent);
                ok = Run(insertKey);
            }
        }
    }
    ok = ok && change(*c, path, valueName) && Run(c->Get(COMMIT));
    if (!sqlite3_get_autocommit(c->db.get()))
        Run(c->Get(ROLLBACK));
    return ok;
}

bool Upsert(TCProfileStore::Scope scope, const char* key, const char* name, int type,
            const std::function<void(sqlite3_stmt*)>& bindData)
{
    return WriteValue(scope, key, name, [&](Connection& c, const char* path, const char* valueName) {
        sqlite3_stmt* s = c.Get(UPSERT_VALUE);
        if (!s)
            return false;
        BindText(s, 1, path);
        BindText(s, 2, valueName);
        sqlite3_bind_int(s, 3, type);
        bindData(s);
        return Run(s);
    });
}

}  // namespace

TCString TCProfileStore::FileOf(Scope scope)
{
    TCString file;
    if (scope == USER) {
        if (TCGetEnvironmentVariable("COREKIT80_USER_PROFILE", file) && !file.IsEmpty())
            return file;
        TCGetSpecialFolderPath(CSIDL_APPDATA, file);
        return file.IsEmpty() ? file : file + "/flowdeck/profile.db";
    }
    if (TCGetEnvironmentVariable("COREKIT80_MACHINE_PROFILE", file) && !file.IsEmpty())
        return file;
    return "/etc/flowdeck/profile.db";
}

bool TCProfileStore::LoadInt(Scope scope, const char* key, const char* name, int& value)
{
    return ReadValue(scope, key, name, [&](sqlite3_stmt* s) {
        if (sqlite3_column_int(s, 0) != TYPE_DWORD || sqlite3_column_type(s, 1) != SQLITE_INTEGER)
            return false;
        const sqlite3_int64 stored = sqlite3_column_int64(s, 1);
        // A number is 32 bits; anything wider was not written by us and is no number.
        if (stored < INT32_MIN || stored > UINT32_MAX)
            return false;
        value = static_cast<int>(static_cast<uint32_t>(stored));
        return true;
    });
}

bool TCProfileStore::LoadString(Scope scope, const char* key, const char* name, TCString& value)
{
    return ReadValue(scope, key, name, [&](sqlite3_stmt* s) {
        const int kind = sqlite3_column_type(s, 1);
        if (sqlite3_column_int(s, 0) != TYPE_SZ || (kind != SQLITE_TEXT && kind != SQLITE_BLOB))
            return false;
        const char* text = static_cast<const char*>(sqlite3_column_blob(s, 1));
        const size_t bytes = static_cast<size_t>(sqlite3_column_bytes(s, 1));
        value = TCString(text, text ? static_cast<int>(strnlen(text, bytes)) : 0);
        return true;
    });
}

int TCProfileStore::ValueSize(Scope scope, const char* key, const char* name)
{
    int size = -1;
    ReadValue(scope, key, name, [&](sqlite3_stmt* s) {
        const int type = sqlite3_column_int(s, 0);
        const int bytes = sqlite3_column_bytes(s, 1);
        size = type == TYPE_DWORD ? 4 : type == TYPE_SZ ? bytes + 1 : bytes;
        return true;
    });
    return size;
}

bool TCProfileStore::KeyExists(Scope scope, const char* key)
{
    TCString path;
    return KeyPath(key, path) && Lookup(scope, SELECT_KEY, [&](sqlite3_stmt* s) { BindText(s, 1, path); },
                                        [](sqlite3_stmt*) { return true; });
}

bool TCProfileStore::SaveInt(Scope scope, const char* key, const char* name, int value)
{
    return Upsert(scope, key, name, TYPE_DWORD, [&](sqlite3_stmt* s) { sqlite3_bind_int(s, 4, value); });
}

bool TCProfileStore::SaveString(Scope scope, const char* key, const char* name, const char* value)
{
    return Upsert(scope, key, name, TYPE_SZ,
                  [&](sqlite3_stmt* s) { BindText(s, 4, value ? value : ""); });
}

bool TCProfileStore::DeleteValue(Scope scope, const char* key, const char* name)
{
    return WriteValue(scope, key, name, [](Connection& c, const char* path, const char* valueName) {
        sqlite3_stmt* s = c.Get(DELETE_VALUE);
        if (!s)
            return false;
        BindText(s, 1, path);
        BindText(s, 2, valueName);
        return Run(s);
    });
}
