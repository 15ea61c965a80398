// Tests of CArchive: scalar sizes, random round trips, string prefixes, wide strings, bad input.
#include "corekit80/platform/CArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "corekit80/platform/CMemFile.h"
#include "corekit80/types/TCString.h"

namespace {

std::string Bytes(const CMemFile& f)
{
    return std::string(reinterpret_cast<const char*>(f.GetData()), size_t(f.GetLength()));
}

// A memory file holding bytes, positioned at its start.
struct Input {
    explicit Input(const std::string& bytes)
    {
        file.Write(bytes.data(), unsigned(bytes.size()));
        file.SeekToBegin();
    }
    CMemFile file;
};

int CauseOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

TEST(CArchive, ScalarsHaveTheirSizesLittleEndian)
{
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << true << 'a' << int8_t(-2) << uint8_t(0xFE) << int16_t(-2) << uint16_t(0x1234) << int32_t(-2)
           << uint32_t(0x12345678) << long(-2) << 0x0102030405060708ULL << 1.5f << 1.5;
    }
    EXPECT_EQ(Bytes(f), std::string("\x01" "a" "\xFE" "\xFE" "\xFE\xFF" "\x34\x12" "\xFE\xFF\xFF\xFF"
                                    "\x78\x56\x34\x12" "\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                                    "\x08\x07\x06\x05\x04\x03\x02\x01" "\x00\x00\xC0\x3F"
                                    "\x00\x00\x00\x00\x00\x00\xF8\x3F", 44));
}

// Random sequences of typed values through the smallest buffer, read back in order.
TEST(CArchive, RandomValuesRoundTrip)
{
    std::mt19937_64 rng(11);
    for (int round = 0; round < 50; ++round) {
        std::vector<uint64_t> values(rng() % 300);
        CMemFile f;
        {
            CArchive ar(&f, CArchive::store, 128);
            for (uint64_t& v : values) {
                v = rng();
                if (v % 3 == 0)
                    ar << uint8_t(v) << int16_t(v) << double(int32_t(v));
                else
                    ar << int64_t(v) << CString(std::string(v % 600, char(v >> 8)).c_str());
            }
        }
        f.SeekToBegin();
        CArchive ar(&f, CArchive::load, 128);
        for (uint64_t v : values) {
            uint8_t a; int16_t b; double d; int64_t e; CString s;
            if (v % 3 == 0) {
                ar >> a >> b >> d;
                ASSERT_TRUE(a == uint8_t(v) && b == int16_t(v) && d == int32_t(v));
            } else {
                ar >> e >> s;
                ASSERT_EQ(e, int64_t(v));
                ASSERT_STREQ(s, std::string(v % 600, char(v >> 8)).c_str());
            }
        }
        EXPECT_EQ(CauseOf([&] { uint8_t x; ar >> x; }), CArchiveException::endOfFile);
    }
}

TEST(CArchive, StringLengthPrefixes)
{
    struct Case { uint32_t length; std::string prefix; };
    const Case cases[] = {
        {0, std::string(1, 0)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {0xFFFD, "\xFF\xFD\xFF"},
        {0xFFFE, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {0xFFFF, std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7)},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        for (size_t i = 0; i < text.size(); i += 7)
            text[i] = char(i);  // binary content, zero bytes included
        CMemFile f;
        {
            CArchive ar(&f, CArchive::store);
            ar << CString(text.data(), int(text.size())) << TCString(text.data(), int(text.size()));
        }
        EXPECT_EQ(Bytes(f), c.prefix + text + c.prefix + text) << c.length;
        f.SeekToBegin();
        CArchive ar(&f, CArchive::load);
        CString s;
        TCString t;
        ar >> s >> t;
        EXPECT_EQ(std::string(s.GetString(), size_t(s.GetLength())), text) << c.length;
        EXPECT_EQ(std::string(t, size_t(t.GetLength())), text) << c.length;
    }
}

TEST(CArchive, WideStringsBecomeUtf8)
{
    std::u16string wide = u"Grüße €" + std::u16string(300, u'ä');
    std::string utf8 = "Grüße €";
    for (int i = 0; i < 300; ++i)
        utf8 += "ä";
    const std::pair<std::string, std::string> cases[] = {  // prefix, text
        {std::string("\xFF\xFE\xFF\x00", 4), ""}, {"\xFF\xFE\xFF\xFF\x33\x01", utf8}};
    for (const auto& [prefix, text] : cases) {
        const char* units = reinterpret_cast<const char*>(wide.data());
        Input in(prefix + std::string(units, text.empty() ? 0 : wide.size() * 2));
        CArchive ar(&in.file, CArchive::load);
        CString s;
        ar >> s;
        EXPECT_STREQ(s, text.c_str());
    }
}

TEST(CArchive, BadInputThrowsInsteadOfAllocating)
{
    const std::pair<std::string, int> cases[] = {
        {std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7), CArchiveException::endOfFile},
        {std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7), CArchiveException::badSchema},
        {std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\x3F", 9), CArchiveException::endOfFile},
    };
    for (const auto& [bytes, cause] : cases) {
        Input in(bytes);
        CArchive ar(&in.file, CArchive::load);
        EXPECT_EQ(CauseOf([&] { CString s; ar >> s; }), cause);
    }
    // Every proper prefix of a stream of values ends early.
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << int32_t(1) << CString("text") << 2.0 << CString(std::string(300, 'y').c_str());
        ar.WriteCount(70000);
    }
    std::string all = Bytes(f);
    for (size_t n = 0; n < all.size(); ++n) {
        Input in(all.substr(0, n));
        CArchive ar(&in.file, CArchive::load);
        int32_t i; CString s, t; double d;
        ASSERT_EQ(CauseOf([&] { ar >> i >> s >> d >> t, ar.ReadCount(); }), CArchiveException::endOfFile)
            << n;
    }
}

TEST(CArchive, Lines)
{
    const std::string longLine(1000, 'L');
    Input in("a\r\nb\n\nc\rd\r\n" + longLine + "\r\nlast\r");
    CArchive ar(&in.file, CArchive::load, 128);
    CString line;
    for (const char* want : {"a", "b", "", "c\rd", longLine.c_str(), "last\r"}) {
        ASSERT_TRUE(ar.ReadString(line));
        EXPECT_STREQ(line, want);
    }
    EXPECT_FALSE(ar.ReadString(line));

    Input in2("abcdef\r\ngh\n");
    CArchive ar2(&in2.file, CArchive::load);
    char buffer[4];
    for (const char* want : {"abc", "def", "", "gh"})  // "def" fills the buffer before its line end
        EXPECT_STREQ(ar2.ReadString(buffer, sizeof buffer), want);
    EXPECT_EQ(ar2.ReadString(buffer, sizeof buffer), nullptr);
}

TEST(CArchive, DirectionAndLifetime)
{
    CMemFile f;
    CArchive store(&f, CArchive::store);
    EXPECT_EQ(CauseOf([&] { int32_t i; store >> i; }), CArchiveException::writeOnly);
    store << int32_t(7) << int32_t(8) << static_cast<const char*>(nullptr);
    store.WriteString("ab\n");
    EXPECT_EQ(store.GetFile()->GetLength(), 12u);  // GetFile writes the buffer out first
    store.Close();
    EXPECT_EQ(CauseOf([&] { store << 1.0; }), CArchiveException::genericException);

    f.SeekToBegin();
    CArchive load(&f, CArchive::load);
    EXPECT_EQ(CauseOf([&] { load << int32_t(1); }), CArchiveException::readOnly);
    int32_t i;
    load >> i;
    // The file stands where the archive does, so it can be read directly in between.
    EXPECT_EQ(load.GetFile()->GetPosition(), 4u);
    EXPECT_EQ(load.GetFile()->Read(&i, 2), 2u);
    char rest[8];
    EXPECT_EQ(load.Read(rest, 8), 6u);
}

// The text names the cause and, when the file behind the archive has a path, the path.
TEST(CArchive, ExceptionTextNamesTheFile)
{
    for (const char* path : {"/data/a.tc2", ""}) {
        Input in("\x01");
        in.file.SetFilePath(path);
        CArchive load(&in.file, CArchive::load);
        try {
            int32_t i;
            load >> i;
            ADD_FAILURE() << "read 4 bytes of 1";
        } catch (const CArchiveException& e) {
            EXPECT_STREQ(e.m_strFileName, path);
            EXPECT_EQ(std::string(e.what()), *path ? std::string("unexpected end of archive: ") + path
                                                   : std::string("unexpected end of archive"));
        }
    }
    EXPECT_STREQ(CArchiveException().what(), "no error");
    EXPECT_STREQ(CArchiveException(42, "x").what(), "unexpected archive error: x");
}

// A save that ends by an exception or an abort leaves the old file as it was.
TEST(CArchive, InterruptedSaveKeepsTheOldFile)
{
    char pattern[] = "/tmp/ck80-carchive-XXXXXX";
    const std::string dir = mkdtemp(pattern), path = dir + "/settings.tc2";
    std::ofstream(path) << "old";
    auto content = [&] {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    try {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        for (int i = 0; i < 10000; ++i)
            ar << int32_t(i);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(content(), "old");
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << "new";
    }  // a normal end of scope saves
    EXPECT_EQ(content(), "\x03new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary left
    std::filesystem::remove_all(dir);
}

} // namespace
