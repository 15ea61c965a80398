// Tests of the text helpers and of decoding XML byte streams into UTF-16.
#include "corekit80/foundation/TCTextUtil.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>

#include "corekit80/types/CString.h"

namespace {

std::string Bytes(const TCString& s) { return std::string(static_cast<const char*>(s), size_t(s.GetLength())); }
TCString Make(const std::string& s) { return TCString(s.data(), int(s.size())); }

std::u16string Units(const TCString& out, const char16_t* r)
{
    EXPECT_EQ(static_cast<const void*>(r), static_cast<const void*>(static_cast<const char*>(out)));
    // Text read through a byte-order mark keeps its zero unit inside the length.
    const size_t n = std::char_traits<char16_t>::length(r);
    EXPECT_TRUE(size_t(out.GetLength()) == 2 * n || size_t(out.GetLength()) == 2 * n + 2) << out.GetLength();
    EXPECT_EQ(static_cast<const char*>(out)[out.GetLength()], 0);
    return std::u16string(r, n);
}

// iconv's conversion, the reference for ours.
std::string Iconv(const char* to, const char* from, const std::string& in)
{
    iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, iconv_t(-1)) << from;
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    char* dst = out.data();
    size_t left = in.size(), room = out.size();
    EXPECT_NE(iconv(cd, &src, &left, &dst, &room), size_t(-1)) << from;
    iconv_close(cd);
    out.resize(out.size() - room);
    return out;
}

// UTF-16LE bytes as code units (the host is little-endian) and back.
std::u16string FromLE(const std::string& b)
{
    std::u16string u(b.size() / 2, u'\0');
    std::memcpy(u.data(), b.data(), u.size() * 2);
    return u;
}
std::string LE(const std::u16string& u) { return std::string(reinterpret_cast<const char*>(u.data()), u.size() * 2); }

TEST(QuoteControlChar, EscapesControlBytesAndBackslash)
{
    const struct { std::string in, out; } cases[] = {
        {std::string("\x01\t\\\xC8", 4), "\\x01\\t\\\\\xC8"},
        {"\a\b\t\n\v\f\r", "\\a\\b\\t\\n\\v\\f\\r"},
        {std::string("\0\x06\x0E\x1F", 4), "\\x00\\x06\\x0e\\x1f"},
        {"\x7F \"'?\xFF", "\x7F \"'?\xFF"},
        {"", ""},
    };
    for (const auto& c : cases) {
        TCString out("stale");
        QuoteControlChar(out, Make(c.in));
        EXPECT_EQ(Bytes(out), c.out);
    }
}

TEST(UnQuoteEscapeChar, DecodesSequences)
{
    const struct { std::string in, out; bool ok; } cases[] = {
        {"\\x41", "A", true}, {"\\101", "A", true}, {"\\c", "\x11", true},
        {"\\a\\b\\f\\n\\r\\t\\v", "\a\b\f\n\r\t\v", true},
        {"\\'\\\"\\?\\\\", "'\"?\\", true},
        {"\\x414\\x4g", "A4\x04g", true},
        {"\\1234\\0", std::string("S4\0", 3), true},
        {"\\q", "q", false}, {"\\8", "8", false}, {"\\400", std::string("\0", 1), false},
        {"\\777", "\xFF", false}, {"ab\\", "ab\\", false}, {"\\xg", "g", false}, {"\\x", "", false},
        {std::string("\\\0z", 3), std::string("\0z", 2), false},
        {"\xC8\x7F", "\xC8\x7F", true},
    };
    for (const auto& c : cases) {
        TCString out("stale");
        EXPECT_EQ(UnQuoteEscapeChar(out, Make(c.in)), c.ok) << c.in;
        EXPECT_EQ(Bytes(out), c.out) << c.in;
    }
}

TEST(UnQuoteEscapeChar, UndoesQuoteControlChar)
{
    std::mt19937 rng(80);
    // Bytes around the escape characters are drawn more often than the rest.
    std::string hot = "\\x0123456789abcdefABCDEF\a\t\n\r\"'?";
    hot += '\0';
    for (int round = 0; round < 3000; ++round) {
        std::string s(rng() % 48, '\0');
        for (char& c : s)
            c = rng() % 2 ? hot[rng() % hot.size()] : char(rng() % 256);
        TCString quoted, back;
        QuoteControlChar(quoted, Make(s));
        ASSERT_TRUE(UnQuoteEscapeChar(back, quoted)) << Bytes(quoted);
        ASSERT_EQ(Bytes(back), s);
        // The same object as input and output.
        TCString inPlace = Make(s);
        QuoteControlChar(inPlace, inPlace);
        ASSERT_EQ(Bytes(inPlace), Bytes(quoted));
        ASSERT_TRUE(UnQuoteEscapeChar(inPlace, inPlace));
        ASSERT_EQ(Bytes(inPlace), s);
    }
}

TEST(GetLine, FindsNextNonBlankLine)
{
    const struct { const char* text; int next; } cases[] = {
        {"a\n\n   b", 6}, {"abc", -1}, {"a\n \t\r\n", -1}, {"\nx", 1}, {"a\r\n\tb\nc", 4}, {"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(GetLine(c.text), c.next < 0 ? nullptr : c.text + c.next) << c.text;
    EXPECT_EQ(GetLine(nullptr), nullptr);
}

TEST(TCIndentSpaces, GivesAtMostHundredSpaces)
{
    const struct { int n, spaces; } cases[] = {
        {INT_MIN, 0}, {-1, 0}, {0, 0}, {1, 1}, {99, 99}, {100, 100}, {150, 100}, {INT_MAX, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(std::string(TCIndentSpaces(c.n)), std::string(size_t(c.spaces), ' ')) << c.n;
}

TEST(ParseParam, FindsValueOfNamedLine)
{
    const char* text = "Rate = 12 \nName=x";
    const struct { const char* text; const char* name; int maxLength; bool found; const char* value; } cases[] = {
        {text, " rate", -1, true, "12"},
        {text, "RATE\t", -1, true, "12"},
        {text, "name", -1, true, "x"},
        {text, "missing", -1, false, ""},
        {text, "rate", 3, true, " 12"},
        {text, "rate", 100, true, " 12 \nName=x"},
        {text, "rate", 0, true, ""},
        {"gainoffset=3\ngain=4", "gain", -1, true, "3"},
        {"a=1\n\n   b = 2 \r\nc=3", "b", -1, true, "2"},
        {"a=1\r\nb=2\r\n", "a", -1, true, "1"},
        {"a=\nb=2", "a", -1, true, ""},
        {"rate\nx = 5", "rate", -1, true, "5"},
        {"x=1\nrate", "rate", -1, false, ""},
        {"a=b=c", "a", -1, true, "b=c"},
        {nullptr, "a", -1, false, ""},
        {"a=1", nullptr, -1, false, ""},
    };
    for (const auto& c : cases) {
        TCString value("untouched");
        CString cvalue("untouched");
        const char* expect = c.found ? c.value : "untouched";
        EXPECT_EQ(ParseParam(c.text, c.name, value, c.maxLength), c.found) << c.text << "|" << c.name;
        EXPECT_EQ(Bytes(value), expect) << c.text << "|" << c.name;
        EXPECT_EQ(ParseParam(c.text, c.name, cvalue, c.maxLength), c.found);
        EXPECT_EQ(std::string(cvalue, size_t(cvalue.GetLength())), expect);
    }
    TCString own("a=1\nb = two\n");
    ASSERT_TRUE(ParseParam(own, "b", own));
    EXPECT_EQ(Bytes(own), "two");
}

TEST(ParseParam, ConvertsNumbers)
{
    const struct { const char* text; bool found; int i; double d; } cases[] = {
        {"v = 12 \nw=1", true, 12, 12},
        {"v=-7.5e2", true, -7, -750},
        {"v=99999999999", true, INT_MAX, 99999999999.0},
        {"v=-99999999999", true, INT_MIN, -99999999999.0},
        {"v=0x10", true, 0, 16},
        {"v=abc", true, 0, 0},
        {"w=3", false, -1, -1},
    };
    for (const auto& c : cases) {
        int i = -1;
        double d = -1;
        EXPECT_EQ(ParseParam(c.text, "v", i), c.found) << c.text;
        EXPECT_EQ(ParseParam(c.text, "v", d), c.found) << c.text;
        EXPECT_EQ(i, c.i) << c.text;
        EXPECT_EQ(d, c.d) << c.text;
    }
}

TEST(GetNumber, ScansWithAutomaticBase)
{
    // Cases marked true are read with the unsigned form.
    const struct { const char* text; int base; long value; int consumed; bool u = false; } cases[] = {
        {"0x1Fz", 0, 31, 4},   {"0XffG", 0, 255, 4}, {"abc", 0, 0, 0},    {" 12", 0, 0, 0},
        {"-12x", 0, -12, 3},   {"+7", 0, 7, 2},      {"012", 0, 12, 3},   {"0x", 0, 0, 2},
        {"ff", 16, 255, 2},    {" 12", 10, 12, 3},   {"777", 8, 511, 3},  {"z", 36, 35, 1},
        {"5", 1, 0, 0},        {"5", 37, 0, 0},      {"5", -2, 0, 0},
        {"99999999999999999999", 0, LONG_MAX, 20},   {"-99999999999999999999", 0, LONG_MIN, 21},
        {"4294967296", 0, 4294967296L, 10},          {"-1;", 0, long(ULONG_MAX), 2, true},
        {"0xFFFFFFFF", 0, 0xFFFFFFFFl, 10, true},    {"18446744073709551616", 0, long(ULONG_MAX), 20, true},
    };
    for (const auto& c : cases) {
        const char* p = c.text;
        EXPECT_EQ(c.u ? long(GetNumberU(p, c.base)) : GetNumber(p, c.base), c.value) << c.text;
        EXPECT_EQ(p, c.text + c.consumed) << c.text;
    }
    const char* p = nullptr;
    EXPECT_EQ(GetNumber(p), 0);
    EXPECT_EQ(GetNumberU(p), 0u);
    EXPECT_EQ(p, nullptr);
}

TEST(XMLToUnicode, ReadsByteOrderMarks)
{
    const std::u16string doc = u"<a>\u00E4\u20AC\U0001F600</a>";
    const std::string le = LE(doc), be = Iconv("UTF-16BE", "UTF-16LE", le);
    const struct { std::string in; std::u16string out; } cases[] = {
        {"\xEF\xBB\xBF<a>\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80</a>", doc},
        {"\xFF\xFE" + le, doc},
        {"\xFE\xFF" + be, doc},
        {"\xFF\xFE" "A", u"A"},                                  // odd byte completed with zero
        {std::string("\xFE\xFF\x00" "A" "\x01", 5), u"A\u0100"},
        {std::string("\xFF\xFE\x00\xD8" "A\0" "\x00\xDC", 8), u"\uFFFDA\uFFFD"},  // lone surrogates
        {"\xFF\xFE", u""},
        {"\xEF\xBB\xBF", u""},
        {"a\xFF" "b", u"a\uFFFDb"},                              // malformed UTF-8
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},                   // an encoded surrogate
        {"\xEF\xBB\xBF\xC3", u"\uFFFD"},
    };
    for (const auto& c : cases) {
        TCString out("stale");
        EXPECT_EQ(Units(out, XMLToUnicode(out, c.in.data(), int(c.in.size()))), c.out);
    }
    // Measured up to the first zero byte, UTF-16 text ends after its first ASCII byte.
    TCString out;
    const std::string lez = "\xFF\xFE" + le + std::string(2, '\0');
    EXPECT_EQ(Units(out, XMLToUnicode(out, lez.c_str())), u"<");
}

// Through a UTF-16 mark the length is the input's byte count and so counts the zero unit;
// every other conversion counts the text's units only.
TEST(XMLToUnicode, LengthCountsTheZeroUnitOfMarkedUtf16)
{
    const struct { std::string in; int length; } cases[] = {
        {std::string("\xFF\xFE<\0a\0>\0\xAC\x20<\0/\0a\0>\0", 18), 18},
        {std::string("\xFE\xFF\0<\0a\0>\x20\xAC\0<\0/\0a\0>", 18), 18},
        {"\xFF\xFE", 2},
        {"\xFF\xFE" "A", 4},
        {"\xEF\xBB\xBF<a>\xE2\x82\xAC</a>", 16},
        {"<a>\xE2\x82\xAC</a>", 16},
        {"", 0},
    };
    for (const auto& c : cases) {
        TCString out;
        const char16_t* r = XMLToUnicode(out, c.in.data(), int(c.in.size()));
        EXPECT_EQ(out.GetLength(), c.length) << "case " << &c - cases;
        const bool marked = c.in.size() >= 2 && (c.in[0] == '\xFF' || c.in[0] == '\xFE');
        EXPECT_EQ(r[out.GetLength() / 2 - (marked ? 1 : 0)], 0);
    }
}

TEST(XMLToUnicode, ReadsDeclaredEncoding)
{
    const struct { const char* in; const char* charset; } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE4\xFF</a>", "ISO-8859-1"},
        {"<?xml version='1.0' encoding='windows-1252'?><a>\x80\x9F</a>", "WINDOWS-1252"},
        {"<?xml encoding=\" iso-8859-15 \"?>\xA4", "ISO-8859-15"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA4</a>", "UTF-8"},
        {"<?xml version=\"1.0\"?><a>\xE2\x82\xAC</a>", "UTF-8"},
        {"<a>\xE2\x82\xAC</a>", "UTF-8"},
        {"<?xml encoding=\"x-no-such-charset\"?>\xC3\xA4", "UTF-8"},
        {"<?xml encoding=\"UTF-16\"?><a>\xC3\xA4</a>", "UTF-8"},  // 8-bit text cannot be UTF-16
        {"<?xml encoding=\"UCS-4\"?>x", "UTF-8"},
        {"<?xml encoding=\"ISO-8859-1\"<a>\xC3\xA4</a>", "UTF-8"},  // no "?>"
        {"", "UTF-8"},
    };
    for (const auto& c : cases) {
        const std::u16string expect = FromLE(Iconv("UTF-16LE", c.charset, c.in));
        TCString out, counted;
        EXPECT_EQ(Units(out, XMLToUnicode(out, c.in)), expect) << c.in;
        EXPECT_EQ(Units(counted, XMLToUnicode(counted, c.in, -1)), expect) << c.in;
    }
}

TEST(XMLToUnicode, RoundTripsRandomText)
{
    std::mt19937 rng(80);
    for (int round = 0; round < 300; ++round) {
        std::u32string text(rng() % 40, U'\0');
        for (char32_t& c : text)
            while ((c = rng() % 4 ? rng() % 0x800 + 1 : rng() % 0x10FFFF + 1) >= 0xD800 && c <= 0xDFFF) {}
        const std::string le =
            Iconv("UTF-16LE", "UTF-32LE", std::string(reinterpret_cast<const char*>(text.data()), text.size() * 4));
        const std::string utf8 = Iconv("UTF-8", "UTF-16LE", le), be = Iconv("UTF-16BE", "UTF-16LE", le);
        for (const std::string& in : {"\xEF\xBB\xBF" + utf8, utf8, "\xFF\xFE" + le, "\xFE\xFF" + be}) {
            TCString out;
            ASSERT_EQ(Units(out, XMLToUnicode(out, in.data(), int(in.size()))), FromLE(le));
        }
    }
}

TEST(XMLToUnicode, InputMayBeTheOutputsBuffer)
{
    TCString s("<?xml encoding=\"ISO-8859-1\"?>\xE4");
    EXPECT_EQ(Units(s, XMLToUnicode(s, s)), u"<?xml encoding=\"ISO-8859-1\"?>\u00E4");
    TCString t("\xFF\xFE" "A\0B\0", 6);
    EXPECT_EQ(Units(t, XMLToUnicode(t, t, t.GetLength())), u"AB");
    TCString none("stale");
    EXPECT_EQ(Units(none, XMLToUnicode(none, nullptr)), u"");
}

}  // namespace
