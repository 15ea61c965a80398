// Tests of CFile: saves through a temporary, failed writes, open modes, symbolic links.
#include "corekit80/platform/CFile.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

class CFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ck80-cfile-XXXXXX";
        dir = mkdtemp(pattern);
        path = dir + "/data.bin";
        std::ofstream(path) << "old";
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Content(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Nothing but the files of the test: no temporary is left behind.
    void ExpectFiles(int n) const { EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), n); }

    std::string dir, path;
};

TEST_F(CFileTest, WritesUnderATemporaryAndReplacesOnClose)
{
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone));
    f.Write("new content", 11);
    EXPECT_EQ(Content(path), "old");
    EXPECT_STREQ(f.GetFilePath(), path.c_str());
    EXPECT_STREQ(f.GetFileName(), "data.bin");
    EXPECT_STREQ(f.GetFileTitle(), "data");
    f.Close();
    EXPECT_EQ(Content(path), "new content");
    ExpectFiles(1);

    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    char b[32];
    EXPECT_EQ(f.Seek(4, CFile::begin), 4u);
    EXPECT_EQ(f.Read(b, sizeof b), 7u);
    EXPECT_EQ(std::string(b, 7), "content");
    EXPECT_THROW(f.Write("x", 1), CFileException);
    EXPECT_THROW(f.Seek(-100, CFile::current), CFileException);
    f.Close();

    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    f.Write("new", 3);
    f.Abort();
    EXPECT_EQ(Content(path), "new content");
    ExpectFiles(1);
}

// A write that the system refuses (here beyond the file size limit) fails the whole save.
TEST_F(CFileTest, FailedWriteLeavesTheOldFile)
{
    struct rlimit old, small;
    getrlimit(RLIMIT_FSIZE, &old);
    small = old;
    small.rlim_cur = 4096;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int cause = CFileException::none;
    try {
        f.Write(std::string(8192, 'x').data(), 8192);
    } catch (const CFileException& e) {
        cause = e.m_cause;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(cause, CFileException::diskFull);
    f.Write("more", 4);
    EXPECT_THROW(f.Close(), CFileException);
    EXPECT_EQ(Content(path), "old");
    ExpectFiles(1);
}

// The text names the cause and, when there is one, the file.
TEST_F(CFileTest, ExceptionTextNamesTheFile)
{
    const std::string missing = dir + "/missing";
    try {
        CFile f(missing.c_str(), CFile::modeRead);
        ADD_FAILURE() << "opened " << missing;
    } catch (const CFileException& e) {
        EXPECT_EQ(std::string(e.what()), "file not found: " + missing);
    }
    CFileException error;
    EXPECT_FALSE(CFile().Open(missing.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(std::string(error.what()), "file not found: " + missing);
    const struct { CFileException e; const char* text; } cases[] = {
        {CFileException(), "no error"},
        {CFileException(CFileException::diskFull, ENOSPC, nullptr), "disk full"},
        {CFileException(CFileException::badSeek, EINVAL, ""), "bad seek"},
        {CFileException(CFileException::endOfFile, -1, "a b.tc2"), "unexpected end of file: a b.tc2"},
        {CFileException(99, -1, "x"), "unexpected file error: x"},
        {CFileException(-1), "unexpected file error"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.e.what(), c.text);
    CFileException renamed(CFileException::accessDenied, EACCES, "old");
    renamed.m_strFileName = "new";
    EXPECT_STREQ(renamed.what(), "access denied: new");
}

TEST_F(CFileTest, OpenModes)
{
    const std::string missing = dir + "/missing";
    const std::pair<std::string, unsigned> failing[] = {
        {missing, CFile::modeRead}, {missing, CFile::modeWrite},
        {dir + "/no/such", CFile::modeCreate | CFile::modeWrite}, {dir, CFile::modeRead},
        {dir, CFile::modeCreate | CFile::modeWrite}, {"", CFile::modeRead}};
    for (const auto& [name, flags] : failing) {
        CFileException error;
        EXPECT_FALSE(CFile().Open(name.c_str(), flags, &error)) << name;
        EXPECT_EQ(error.m_cause, name == dir ? CFileException::accessDenied : CFileException::fileNotFound)
            << name;
    }
    EXPECT_THROW(CFile(missing.c_str(), CFile::modeRead), CFileException);

    // Without truncation the old content is there to be changed; the file keeps its mode.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    char b[2];
    f.Seek(-2, CFile::end);
    EXPECT_EQ(f.Read(b, 2), 2u);
    f.Write("ab", 2);
    f.SeekToBegin();
    f.Write("O", 1);
    f.Close();
    EXPECT_EQ(Content(path), "Oldab");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeWrite));
    EXPECT_THROW(f.Read(b, 1), CFileException);
    f.SetLength(2);
    f.Close();
    EXPECT_EQ(Content(path), "Ol");
}

TEST_F(CFileTest, SymbolicLinksAndInPlaceWriting)
{
    const std::string link = dir + "/link";
    fs::create_symlink(path, link);
    CFile f(link.c_str(), CFile::modeCreate | CFile::modeWrite);
    f.Write("new", 3);
    f.Close();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(path), "new");

    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeNoTruncate | CFile::modeWrite | CFile::modeInPlace));
    f.SeekToEnd();
    f.Write(" line", 5);
    EXPECT_EQ(Content(path), "new line");  // visible while the file is open
    f.Close();
    ExpectFiles(2);
}

} // namespace
