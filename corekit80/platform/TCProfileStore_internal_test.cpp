// Tests of TCProfileStore: files, modes, name case, replaced files, killed writers.
#include "corekit80/platform/TCProfileStoreImpl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "corekit80/platform/TCScratchHome_test.h"

namespace {

using Store = TCProfileStore;

// One text answer of a query on a database file, read behind the store's back. Opened for
// writing, as the store opens it, so that a killed writer's hot journal is rolled back.
std::string Query(const std::string& file, const char* sql)
{
    sqlite3* db = nullptr;
    std::string answer;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        answer = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return answer;
}

std::string ReadAll(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProfileStore, DefaultFilesModesAndJournals)
{
    TCScratchHome home;
    home.Set("COREKIT80_USER_PROFILE", nullptr);
    home.Set("XDG_CONFIG_HOME", (home.Root() + "/cfg").c_str());
    home.Set("COREKIT80_MACHINE_PROFILE", (home.Root() + "/etc/flowdeck/profile.db").c_str());
    const std::string user = home.Root() + "/cfg/flowdeck/profile.db";
    EXPECT_STREQ(Store::FileOf(Store::USER), user.c_str());
    const mode_t oldMask = umask(022);
    EXPECT_TRUE(Store::SaveInt(Store::USER, "K", "V", 1));
    EXPECT_TRUE(Store::SaveInt(Store::MACHINE, "K", "V", 1));
    umask(oldMask);
    struct stat st;
    ASSERT_EQ(stat(user.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(Store::FileOf(Store::MACHINE), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(Query(user, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(Query(std::string(Store::FileOf(Store::MACHINE)), "PRAGMA journal_mode"), "delete");
}

TEST(ProfileStore, NamesKeepTheCaseTheyWereCreatedWith)
{
    TCScratchHome home;
    const std::string file = home.Root() + "/p.db";
    home.Set("COREKIT80_USER_PROFILE", file.c_str());
    EXPECT_TRUE(Store::SaveString(Store::USER, "Top\\MixedKey", "Alpha", "1"));
    EXPECT_TRUE(Store::SaveString(Store::USER, "TOP\\mixedkey\\", "ALPHA", "2"));
    EXPECT_TRUE(Store::DeleteValue(Store::USER, "top\\\\New", "gone"));
    EXPECT_EQ(Query(file, "SELECT group_concat(path, '|') FROM (SELECT path FROM keys ORDER BY path)"),
              "Top|Top\\MixedKey|top\\New");
    EXPECT_EQ(Query(file, "SELECT name || '=' || data FROM vals"), "Alpha=2");
    // Over-long names reach no key.
    EXPECT_FALSE(Store::SaveInt(Store::USER, std::string(256, 'k').c_str(), "V", 1));
    EXPECT_FALSE(Store::SaveInt(Store::USER, "K", std::string(16384, 'n').c_str(), 1));
}

TEST(ProfileStore, ForeignAndReplacedFiles)
{
    TCScratchHome home;
    const std::string file = home.Root() + "/p.db";
    home.Set("COREKIT80_USER_PROFILE", file.c_str());
    std::ofstream(file) << "not a database, and nobody's to overwrite";
    const std::string before = ReadAll(file);
    int value = 0;
    EXPECT_FALSE(Store::SaveInt(Store::USER, "K", "V", 1));
    EXPECT_FALSE(Store::LoadInt(Store::USER, "K", "V", value));
    EXPECT_EQ(ReadAll(file), before);

    // A file removed and made again while a connection is open is the new file.
    std::remove(file.c_str());
    EXPECT_TRUE(Store::SaveInt(Store::USER, "K", "V", 1));
    EXPECT_TRUE(Store::LoadInt(Store::USER, "K", "V", value));
    std::remove(file.c_str());
    EXPECT_FALSE(Store::LoadInt(Store::USER, "K", "V", value));
    EXPECT_TRUE(Store::SaveInt(Store::USER, "K", "W", 2));
    EXPECT_FALSE(Store::LoadInt(Store::USER, "K", "V", value));
}

// A writer killed in a transaction big enough to reach the file before its commit: the
// journal it leaves is hot, and only a process that may write the file can undo it.
void KilledInATransaction(const std::string& file)
{
    if (fork() != 0)
        return void(wait(nullptr));
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db,
                 "PRAGMA cache_size=1; BEGIN IMMEDIATE; UPDATE vals SET data = 2;"
                 " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)"
                 " INSERT INTO keys SELECT 'Junk' || i || hex(randomblob(100)) FROM n",
                 nullptr, nullptr, nullptr);
    raise(SIGKILL);
}

TEST(ProfileStore, MachineScopeWithoutPermissionChangesNothing)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    TCScratchHome home;
    chmod(home.Root().c_str(), 0755);
    const std::string file = home.Root() + "/machine.db";
    home.Set("COREKIT80_MACHINE_PROFILE", file.c_str());
    ASSERT_TRUE(Store::SaveInt(Store::MACHINE, "K", "V", 1));
    for (const bool hotJournal : {false, true}) {
        SCOPED_TRACE(hotJournal ? "after a writer was killed" : "");
        if (hotJournal)
            KilledInATransaction(file);
        struct stat st;
        ASSERT_EQ(stat((file + "-journal").c_str(), &st) == 0, hotJournal);
        const std::string before = ReadAll(file);
        const pid_t child = fork();
        if (child == 0) {
            int value = 0;
            const bool ok = setuid(65534) == 0 && Store::LoadInt(Store::MACHINE, "K", "V", value) &&
                            value == 1 && Store::KeyExists(Store::MACHINE, "K") &&
                            !Store::KeyExists(Store::MACHINE, "Junk1") &&
                            !Store::SaveInt(Store::MACHINE, "K", "V", 2) &&
                            !Store::DeleteValue(Store::MACHINE, "K", "V") &&
                            !Store::SaveString(Store::MACHINE, "New", "V", "x");
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(ReadAll(file), before);
    }
    // The owner's next read undoes the killed writer's transaction.
    int value = 0;
    EXPECT_TRUE(Store::LoadInt(Store::MACHINE, "K", "V", value));
    EXPECT_EQ(value, 1);
    struct stat st;
    EXPECT_NE(stat((file + "-journal").c_str(), &st), 0);
}

// Writers share the keys of a round, each with a value of its own and one value they all
// write ("w:i"), and report through a pipe each save they start (-i) and each that returned
// (i). One of them is killed with SIGKILL at a random moment within one of its saves, timed by
// the saves it made before. Afterwards the database is sound and writable, each writer's own
// value is its last save that returned (the victim's: or the save it was in), and the shared
// value is the last save of one of the writers: no save that returned is lost or undone.
struct KillRun {
    Store::Scope scope;
    int rounds;
};

struct Reports {
    int started = 0, returned = 0;
};

// The victim saves until it is killed; the others make `saves` saves.
[[noreturn]] void Writer(Store::Scope scope, const std::string& key, int w, int saves, int report)
{
    const std::string own = "W" + std::to_string(w);
    for (int i = 1; w == 0 || i <= saves; ++i) {
        const int start = -i;
        const std::string shared = std::to_string(w) + ":" + std::to_string(i);
        if (write(report, &start, sizeof start) != sizeof start ||
            !Store::SaveInt(scope, key.c_str(), own.c_str(), i) ||
            !Store::SaveString(scope, key.c_str(), "Shared", shared.c_str()) || write(report, &i, sizeof i) != sizeof i)
            _exit(2);
    }
    _exit(0);
}

TEST(ProfileStoreProcesses, WritersKilledInTheMiddleOfASaveLoseNothingSaved)
{
    constexpr int kWriters = 3, kSaves = 8;
    TCScratchHome home;
    std::mt19937 random(20);
    for (const KillRun run : {KillRun{Store::USER, 40}, KillRun{Store::MACHINE, 8}}) {
        SCOPED_TRACE(run.scope == Store::USER ? "user" : "machine");
        const std::string file = home.Root() + (run.scope == Store::USER ? "/user.db" : "/machine.db");
        home.Set(run.scope == Store::USER ? "COREKIT80_USER_PROFILE" : "COREKIT80_MACHINE_PROFILE", file.c_str());
        int inSave = 0, committedUnreported = 0;
        for (int round = 0; round < run.rounds; ++round) {
            // Nested keys new in each round, so that the writers also race to create them.
            const std::string key = "Round" + std::to_string(round) + "\\Shared\\Key";
            int pipes[kWriters][2];
            pid_t children[kWriters];
            for (int w = 0; w < kWriters; ++w) {
                ASSERT_EQ(pipe(pipes[w]), 0);
                children[w] = fork();
                ASSERT_GE(children[w], 0);
                if (children[w] == 0)
                    Writer(run.scope, key, w, kSaves, pipes[w][1]);
                close(pipes[w][1]);
            }
            const int victimSave = std::uniform_int_distribution<int>(3, 6)(random);
            Reports reports[kWriters];
            std::chrono::steady_clock::time_point started;
            std::chrono::steady_clock::duration saving{};
            for (int w = 0; w < kWriters; ++w) {
                for (int i = 0; read(pipes[w][0], &i, sizeof i) == sizeof i;) {
                    (i < 0 ? reports[w].started : reports[w].returned) = std::abs(i);
                    if (w != 0)
                        continue;
                    const auto now = std::chrono::steady_clock::now();
                    if (i > 0)
                        saving += now - started;
                    started = now;
                    if (i == -victimSave) {
                        const auto mean = saving / (victimSave - 1);
                        std::this_thread::sleep_for(mean * std::uniform_real_distribution<>(0, 1)(random));
                        kill(children[0], SIGKILL);
                    }
                }
                int status = 0;
                ASSERT_EQ(waitpid(children[w], &status, 0), children[w]);
                EXPECT_TRUE(w == 0 ? WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL
                                   : WIFEXITED(status) && WEXITSTATUS(status) == 0)
                    << "writer " << w << " in round " << round;
                close(pipes[w][0]);
            }
            ASSERT_EQ(Query(file, "PRAGMA integrity_check"), "ok") << "round " << round;
            const Reports& victim = reports[0];
            inSave += victim.started > victim.returned;
            // The shared value may be the last save of any writer; the victim's last is the
            // one that returned or the one it was in.
            std::set<std::string> lastShared = {"0:" + std::to_string(victim.started)};
            for (int w = 0; w < kWriters; ++w) {
                SCOPED_TRACE("writer " + std::to_string(w) + " in round " + std::to_string(round));
                int own = -1;
                ASSERT_TRUE(Store::LoadInt(run.scope, key.c_str(), ("W" + std::to_string(w)).c_str(), own));
                EXPECT_TRUE(own == reports[w].returned || (w == 0 && own == victim.started)) << own;
                committedUnreported += w == 0 && own > victim.returned;
                lastShared.insert(std::to_string(w) + ":" + std::to_string(reports[w].returned));
            }
            EXPECT_EQ(reports[1].returned, kSaves);
            TCString shared;
            ASSERT_TRUE(Store::LoadString(run.scope, key.c_str(), "Shared", shared));
            EXPECT_TRUE(lastShared.count(std::string(shared))) << shared << " in round " << round;
            ASSERT_TRUE(Store::SaveInt(run.scope, key.c_str(), "After", round));
        }
        // Most kills must land within a save, some after its commit, for the test to mean anything.
        EXPECT_GT(inSave, run.rounds / 2);
        std::printf("%s scope: %d rounds, %d writers each, %d kills within a save, %d of them after the commit\n",
                    run.scope == Store::USER ? "user" : "machine", run.rounds, kWriters, inSave,
                    committedUnreported);
    }
}

}  // namespace
