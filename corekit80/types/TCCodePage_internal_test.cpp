// Tests of the code-page conversions against iconv: valid and invalid text, sizes, charset names.
#include "corekit80/types/TCCodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "corekit80/types/TCMbcsImpl.h"

namespace {

// iconv as the reference: the whole input converted, or nothing when iconv rejects any of it.
std::optional<std::string> Iconv(const std::string& to, const std::string& from, const std::string& in)
{
    static struct Descriptors : std::map<std::pair<std::string, std::string>, iconv_t> {
        ~Descriptors()
        {
            for (auto& [names, cd] : *this)
                if (cd != reinterpret_cast<iconv_t>(-1))
                    iconv_close(cd);
        }
    } open;
    iconv_t& cd = open[{to, from}];
    if (!cd)
        cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 8 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    char* dst = out.data();
    size_t left = in.size(), room = out.size();
    if (iconv(cd, &src, &left, &dst, &room) == static_cast<size_t>(-1) ||
        iconv(cd, nullptr, nullptr, &dst, &room) == static_cast<size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - room);
    return out;
}

std::string Bytes(const std::u16string& s) { return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2); }
std::u16string Units(const std::string& b) { return std::u16string(reinterpret_cast<const char16_t*>(b.data()), b.size() / 2); }

// Both calling forms of a conversion: the count, then a buffer of exactly that size, and a
// buffer one short, which must be refused. Exact heap buffers let ASan see overruns.
template <class To, class From>
std::basic_string<To> Convert(int (*convert)(unsigned, const From*, int, To*, int), unsigned cp,
                              const std::basic_string<From>& in)
{
    const int size = static_cast<int>(in.size());
    const int n = convert(cp, in.data(), size, nullptr, 0);
    EXPECT_GE(n, 0);
    auto buf = std::make_unique<To[]>(static_cast<size_t>(n));
    EXPECT_EQ(convert(cp, in.data(), size, buf.get(), n), n);
    if (n > 0) {
        auto shortBuf = std::make_unique<To[]>(static_cast<size_t>(n - 1));
        EXPECT_EQ(convert(cp, in.data(), size, shortBuf.get(), n - 1), -1);
    }
    return std::basic_string<To>(buf.get(), static_cast<size_t>(n));
}

std::u16string Decode(unsigned cp, const std::string& in)
{
    std::u16string w = Convert(TCMultiByteToWideChar, cp, in);
    EXPECT_LE(w.size(), in.size());
    return w;
}

std::string Encode(unsigned cp, const std::u16string& in) { return Convert(TCWideCharToMultiByte, cp, in); }

// The per-byte rule with iconv as the judge of every sequence: the shortest run of bytes
// that iconv turns into a character is one; a byte that begins none becomes U+FFFD.
std::u16string ExpectedDecode(const std::string& charset, const std::string& in)
{
    std::u16string out;
    for (size_t i = 0; i < in.size();) {
        size_t k = 1;
        std::optional<std::string> r;
        for (; k <= 4 && i + k <= in.size(); ++k)
            if ((r = Iconv("UTF-16LE", charset, in.substr(i, k))) && !r->empty())
                break;
        if (k <= 4 && i + k <= in.size()) {
            out += Units(*r);
            i += k;
        } else {
            out += u'\xFFFD';
            ++i;
        }
    }
    return out;
}

// Character by character through iconv: a lone surrogate stands for U+FFFD, and what the
// code page lacks becomes '?'.
std::string ExpectedEncode(const std::string& charset, const std::u16string& in)
{
    std::string out;
    for (size_t i = 0; i < in.size();) {
        const bool high = in[i] >= 0xD800 && in[i] < 0xDC00;
        const size_t n = high && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000 ? 2 : 1;
        const bool lone = n == 1 && in[i] >= 0xD800 && in[i] < 0xE000;
        std::optional<std::string> r = Iconv(charset, "UTF-16LE", Bytes(lone ? u"\xFFFD" : in.substr(i, n)));
        out += r ? *r : "?";
        i += n;
    }
    return out;
}

class Gen {
public:
    explicit Gen(unsigned seed) : m_g(seed) {}
    unsigned Int(unsigned lo, unsigned hi) { return std::uniform_int_distribution<unsigned>(lo, hi)(m_g); }
    // Scalar values from every encoded length and the edges between them.
    char32_t Scalar()
    {
        static const char32_t edges[] = {0, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFEFF, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
        switch (Int(0, 5)) {
        case 0: return edges[Int(0, std::size(edges) - 1)];
        case 1: return Int(0x80, 0x7FF);
        case 2: return Int(0xE000, 0xFFFF);
        case 3: return Int(0x10000, 0x10FFFF);
        case 4: return Int(0x800, 0xD7FF);
        default: return Int(0x20, 0x7E);
        }
    }
    std::u16string ValidUtf16(unsigned maxChars)
    {
        std::u16string s;
        for (unsigned n = Int(0, maxChars); n > 0; --n) {
            const char32_t c = Scalar();
            if (c < 0x10000) {
                s += static_cast<char16_t>(c);
            } else {
                s += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                s += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
        }
        return s;
    }
    // Bytes rich in lead, continuation and boundary values of UTF-8.
    std::string Bytes(unsigned maxLen)
    {
        static const unsigned char pool[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
                                             0xDF, 0xE0, 0xE1, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xF8, 0xFF};
        std::string s(Int(0, maxLen), '\0');
        for (char& c : s)
            c = static_cast<char>(Int(0, 2) ? pool[Int(0, std::size(pool) - 1)] : Int(0, 255));
        return s;
    }
    // UTF-16 with lone surrogates among the characters.
    std::u16string AnyUtf16(unsigned maxLen)
    {
        std::u16string s = ValidUtf16(maxLen);
        for (char16_t& u : s)
            if (Int(0, 5) == 0)
                u = static_cast<char16_t>(Int(0xD800, 0xDFFF));
        return s;
    }

private:
    std::mt19937 m_g;
};

}  // namespace

TEST(TCCodePage, ValidTextMatchesIconvBothWays)
{
    Gen g(1);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string w = g.ValidUtf16(12);
        const std::string utf8 = *Iconv("UTF-8", "UTF-16LE", Bytes(w));
        ASSERT_EQ(Encode(TC_CP_UTF8, w), utf8);
        ASSERT_EQ(Decode(TC_CP_UTF8, utf8), w);
        ASSERT_EQ(Decode(TC_CP_ACP, utf8), w);
        ASSERT_EQ(Encode(TC_CP_UTF16BE, w), *Iconv("UTF-16BE", "UTF-16LE", Bytes(w)));
        ASSERT_EQ(Decode(TC_CP_UTF16LE, Bytes(w)), w);
    }
}

TEST(TCCodePage, InvalidUtf8GivesOneReplacementPerByte)
{
    Gen g(2);
    for (int i = 0; i < 20000; ++i) {
        const std::string in = g.Bytes(10);
        const std::u16string w = Decode(TC_CP_UTF8, in);
        ASSERT_EQ(w, ExpectedDecode("UTF-8", in)) << testing::PrintToString(in);
        // The text operations step by the same characters.
        size_t chars = 0;
        for (size_t k = 0; k < in.size(); k += TCMbcLen(in.data() + k, in.data() + in.size()))
            ++chars;
        ASSERT_EQ(chars, w.size() - std::count_if(w.begin(), w.end(), [](char16_t u) { return u >= 0xDC00 && u < 0xE000; }));
    }
    EXPECT_EQ(Decode(TC_CP_UTF8, "\xE2\x82" "A"), u"\xFFFD\xFFFD" "A");  // truncated
    EXPECT_EQ(Decode(TC_CP_UTF8, "\xC0\xAF\xED\xA0\x80"), std::u16string(5, u'\xFFFD'));  // overlong, surrogate
    EXPECT_EQ(Decode(TC_CP_UTF8, "\xF4\x90\x80\x80"), std::u16string(4, u'\xFFFD'));  // above U+10FFFF
}

TEST(TCCodePage, LoneSurrogatesBecomeReplacements)
{
    Gen g(3);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string w = g.AnyUtf16(10);
        ASSERT_EQ(Encode(TC_CP_UTF8, w), ExpectedEncode("UTF-8", w));
        const std::u16string clean = Units(*Iconv("UTF-16LE", "UTF-8", Encode(TC_CP_UTF8, w)));
        ASSERT_EQ(Decode(TC_CP_UTF16BE, Encode(TC_CP_UTF16BE, w)), clean);
    }
    EXPECT_EQ(Decode(TC_CP_UTF16LE, std::string("A\0B", 3)), u"A\xFFFD");  // odd trailing byte
}

TEST(TCCodePage, LegacyCodePagesMatchIconv)
{
    for (unsigned cp : {1252u, 28591u, 932u, 866u, 936u}) {
        SCOPED_TRACE(cp);
        const std::string name = TCCodePageName(cp);
        Gen g(cp);
        for (int i = 0; i < 3000; ++i) {
            const std::string in = g.Bytes(8);
            const std::u16string w = Decode(cp, in);
            ASSERT_EQ(w, ExpectedDecode(name, in)) << testing::PrintToString(in);
            // Decoded text plus characters the code page lacks and lone surrogates.
            const std::u16string mixed = w + g.AnyUtf16(4);
            ASSERT_EQ(Encode(cp, mixed), ExpectedEncode(name, mixed));
        }
    }
    EXPECT_EQ(Encode(1252, u"a\x20AC\x4E00\xD800" "b"), "a\x80??b");
}

TEST(TCCodePage, StatefulCodePagesNeedTheirSizeAsked)
{
    // UTF-7 and ISO-2022-JP shift in and out: one unit can take more than four bytes.
    const std::u16string w = u"a\x20AC" "a\x6F22" "a";
    const std::string utf7 = Encode(65000, w);
    EXPECT_EQ(utf7, *Iconv("UTF-7", "UTF-16LE", Bytes(w)));
    EXPECT_EQ(Decode(65000, utf7), w);
    const std::string jis = Encode(50220, u"\x6F22" "a\x6F22");
    EXPECT_EQ(jis, Encode(50220, u"\x6F22" "a\x6F22"));  // the shift state starts afresh
    EXPECT_EQ(Decode(50220, jis), u"\x6F22" "a\x6F22");
}

TEST(TCCodePage, CharsetNames)
{
    char16_t w[16];
    const auto decode = [&](const char* charset, const char* in, int n = -1) {
        const int r = TCCharsetToWideChar(charset, in, n, w, 16);
        return r < 0 ? std::u16string(u"<unknown>") : std::u16string(w, static_cast<size_t>(r));
    };
    EXPECT_EQ(decode("utf-8", "\xC3\xA9"), u"\xE9");
    EXPECT_EQ(decode(" ISO-8859-1 ", "\xE9"), u"\xE9");
    EXPECT_EQ(decode("Windows-1252", "\x80"), u"\x20AC");
    EXPECT_EQ(decode("Shift_JIS", "\\\x82\xA0"), u"\\\x3042");  // Windows' Shift_JIS keeps the backslash
    EXPECT_EQ(decode("UTF-16", "\xFE\xFF\0A", 4), u"A");
    EXPECT_EQ(decode("utf-16", "\xFF\xFE" "A\0", 4), u"A");
    EXPECT_EQ(decode("UTF-16", "A\0", 2), u"A");
    for (const char* bad : {"no-such-charset", "UTF-8//TRANSLIT", "../../etc/x", "", "UTF 8", static_cast<const char*>(nullptr)})
        EXPECT_EQ(decode(bad, "x"), u"<unknown>") << (bad ? bad : "null");
    EXPECT_EQ(decode(std::string(41, 'A').c_str(), "x"), u"<unknown>");
}

TEST(TCCodePage, CallingConventions)
{
    char16_t w[4];
    char b[4];
    EXPECT_EQ(TCMultiByteToWideChar(0, "ab\0cd", -1, nullptr, 0), 2);  // up to the zero byte
    EXPECT_EQ(TCMultiByteToWideChar(0, "ab\0cd", 5, nullptr, 0), 5);
    EXPECT_EQ(TCMultiByteToWideChar(0, nullptr, 3, w, 4), 0);
    EXPECT_EQ(TCMultiByteToWideChar(0, "", -1, w, 0), 0);
    EXPECT_EQ(TCMultiByteToWideChar(0, "a", -1, w, -5), -1);
    EXPECT_EQ(TCMultiByteToWideChar(4711, "a", -1, nullptr, 0), -1);
    EXPECT_EQ(TCWideCharToMultiByte(4711, u"a", -1, nullptr, 0), -1);
    EXPECT_EQ(TCWideCharToMultiByte(0, u"\x20AC", -1, b, 4), 3);
    EXPECT_EQ(TCWideCharToMultiByte(0, nullptr, -1, b, 4), 0);
    EXPECT_STREQ(TCCodePageName(1252), "CP1252");
    EXPECT_STREQ(TCCodePageName(28591), "ISO-8859-1");
    EXPECT_STREQ(TCCodePageName(932), "CP932");
    EXPECT_EQ(TCCodePageName(4711), nullptr);
}

TEST(TCCodePage, EveryNamedCodePageConverts)
{
    int named = 0;
    for (unsigned cp = 0; cp < 70000; ++cp) {
        if (!TCCodePageName(cp))
            continue;
        ++named;
        SCOPED_TRACE(cp);
        EXPECT_EQ(Decode(cp, Encode(cp, u"AZ09")), u"AZ09");
    }
    EXPECT_GT(named, 90);
}

TEST(TCCodePage, ThreadsConvertIndependently)
{
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (unsigned cp : {1252u, 932u, 1251u, 50220u}) {
        threads.emplace_back([cp, &failures] {
            Gen g(cp);
            for (int i = 0; i < 500; ++i) {
                const std::u16string w = g.ValidUtf16(6);
                const int n = TCWideCharToMultiByte(cp, w.data(), static_cast<int>(w.size()), nullptr, 0);
                std::string b(static_cast<size_t>(n), '\0');
                if (TCWideCharToMultiByte(cp, w.data(), static_cast<int>(w.size()), b.data(), n) != n)
                    ++failures;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures, 0);
}
