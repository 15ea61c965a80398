// Tests of TCProfileStore: files, modes, name case, replaced files, killed writers.
#include "corekit80/platform/TCProfileStoreImpl.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "corekit80/platform/TCScratchHome_test.h"

namespace {

using Store = TCProfileStore;

// One text answer of a query on a database file, read behind the store's back.
std::string Query(const std::string& file, const char* sql)
{
    sqlite3* db = nullptr;
    std::string answer;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
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

TEST(ProfileStore, MachineScopeWithoutPermissionChangesNothing)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    TCScratchHome home;
    chmod(home.Root().c_str(), 0755);
    const std::string file = home.Root() + "/machine.db";
    home.Set("COREKIT80_MACHINE_PROFILE", file.c_str());
    ASSERT_TRUE(Store::SaveInt(Store::MACHINE, "K", "V", 1));
    const std::string before = ReadAll(file);
    const pid_t child = fork();
    if (child == 0) {
        int value = 0;
        TCString text;
        const bool ok = setuid(65534) == 0 && Store::LoadInt(Store::MACHINE, "K", "V", value) &&
                        value == 1 && !Store::SaveInt(Store::MACHINE, "K", "V", 2) &&
                        !Store::DeleteValue(Store::MACHINE, "K", "V") &&
                        !Store::SaveString(Store::MACHINE, "New", "V", "x");
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadAll(file), before);
}

// Four processes write their own values; one is killed in the middle of its writes. The
// database stays sound and every value whose save returned is there.
class ProfileStoreProcesses : public ::testing::TestWithParam<Store::Scope> {};

TEST_P(ProfileStoreProcesses, KilledWriterLosesNothingSaved)
{
    const Store::Scope scope = GetParam();
    TCScratchHome home;
    const std::string file = home.Root() + "/p.db";
    home.Set(scope == Store::USER ? "COREKIT80_USER_PROFILE" : "COREKIT80_MACHINE_PROFILE", file.c_str());
    ASSERT_TRUE(Store::SaveInt(scope, "Writers", "Start", 0));
    constexpr int kWriters = 4, kSaves = 15;
    int pipes[kWriters][2];
    pid_t children[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        ASSERT_EQ(pipe(pipes[w]), 0);
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            close(pipes[w][0]);
            const std::string name = "Value" + std::to_string(w);
            // The victim writes until it is killed.
            for (int i = 1; w == 0 || i <= kSaves; ++i) {
                if (!Store::SaveInt(scope, "Writers", name.c_str(), i) ||
                    !Store::SaveString(scope, "Writers\\Text", name.c_str(), std::to_string(i).c_str()))
                    _exit(2);
                if (write(pipes[w][1], &i, sizeof i) != sizeof i)
                    _exit(3);
            }
            _exit(0);
        }
        close(pipes[w][1]);
    }
    int returned[kWriters] = {};
    for (int w = 0; w < kWriters; ++w) {
        // Reads every report to the end, killing the victim once it is under way.
        for (int i = 0; read(pipes[w][0], &i, sizeof i) == sizeof i;) {
            returned[w] = i;
            if (w == 0 && i == kSaves / 3)
                kill(children[0], SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(waitpid(children[w], &status, 0), children[w]);
        EXPECT_TRUE(w == 0 ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "writer " << w;
        close(pipes[w][0]);
    }
    EXPECT_EQ(Query(file, "PRAGMA integrity_check"), "ok");
    for (int w = 0; w < kWriters; ++w) {
        const std::string name = "Value" + std::to_string(w);
        int number = -1;
        TCString text;
        ASSERT_TRUE(Store::LoadInt(scope, "Writers", name.c_str(), number)) << name;
        ASSERT_TRUE(Store::LoadString(scope, "Writers\\Text", name.c_str(), text)) << name;
        // The killed writer may have finished one save more than it could report.
        EXPECT_GE(number, returned[w]) << name;
        EXPECT_LE(number, returned[w] + 1) << name;
        EXPECT_GE(atoi(text), returned[w]) << name;
        EXPECT_LE(atoi(text), number) << name;
    }
    EXPECT_EQ(returned[1], kSaves);
}

INSTANTIATE_TEST_SUITE_P(BothScopes, ProfileStoreProcesses,
                         ::testing::Values(Store::MACHINE, Store::USER));

}  // namespace
