// Tests of CString against a std::string model, by UTF-8 characters, and Format against snprintf.
#include "corekit80/types/CString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

// Containers move strings bytewise: nothing but a pointer and two counts may be inside.
static_assert(sizeof(CString) == sizeof(char*) + 2 * sizeof(int));
static_assert(std::is_standard_layout_v<CString>);

namespace {

std::string Str(const CString& s) { return std::string(s.GetString(), s.GetLength()); }

// The invariants every string keeps, and its content against the model.
void ExpectState(const CString& s, const std::string& model)
{
    ASSERT_EQ(Str(s), model);
    ASSERT_NE(s.GetString(), nullptr);
    ASSERT_EQ(s.GetString()[s.GetLength()], 0);
    ASSERT_TRUE(s.GetAllocLength() == 0 ? s.GetLength() == 0 : s.GetLength() < s.GetAllocLength());
}

class Gen {
public:
    explicit Gen(unsigned seed) : m_g(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_g); }
    // Bytes that are each one character: ASCII, white space, zero and an invalid byte.
    char Char() { return "abcAB \t\n\0\xff"[Int(0, 9)]; }
    std::string Bytes(int maxLen)
    {
        std::string s(static_cast<size_t>(Int(0, maxLen)), 0);
        for (char& c : s)
            c = Char();
        return s;
    }
    // A position around the length, now and then far outside.
    int Position(size_t len) { return Int(0, 9) == 0 ? INT_MIN : Int(0, 9) == 0 ? INT_MAX : Int(-2, int(len) + 2); }

private:
    std::mt19937 m_g;
};

const std::string kSpace = " \t\n\v\f\r";
size_t Clamp(long long v, size_t len) { return static_cast<size_t>(std::clamp<long long>(v, 0, static_cast<long long>(len))); }
std::string Text(const char* p) { return p ? p : ""; }
int Sign(int v) { return (v > 0) - (v < 0); }
int Pos(size_t p) { return p == std::string::npos ? -1 : static_cast<int>(p); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

void ModelTrim(std::string& m, const std::string& set, bool left, bool right)
{
    if (right)
        m.erase(std::min(m.find_last_not_of(set) + 1, m.size()));
    if (left)
        m.erase(0, std::min(m.find_first_not_of(set), m.size()));
}

std::vector<std::string> ModelTokens(const std::string& m, const std::string& set)
{
    std::vector<std::string> tokens;
    for (size_t from = m.find_first_not_of(set); from != std::string::npos; from = m.find_first_not_of(set, from)) {
        const size_t to = std::min(m.find_first_of(set, from), m.size());
        tokens.push_back(m.substr(from, to - from));
        from = to;
    }
    return tokens;
}

// One random operation on s and its model m.
void Step(Gen& g, CString& s, std::string& m)
{
    const std::string b = g.Bytes(8), k1 = g.Bytes(4), k2 = g.Bytes(4);
    // Zero-terminated arguments, now and then null.
    const char* t = g.Int(0, 15) ? k1.c_str() : nullptr;
    const char* u = g.Int(0, 15) ? k2.c_str() : nullptr;
    const std::string tt = Text(t), ut = Text(u);
    const char c = g.Char(), d = g.Char();
    const int i = g.Position(m.size()), n = g.Position(m.size()), len = int(m.size());
    const int op = g.Int(0, 22);
    SCOPED_TRACE("op " + std::to_string(op) + " on \"" + m + "\"");
    switch (op) {
    case 0: {
        const int count = g.Int(-1, int(b.size()));
        s = CString(b.data(), count);
        m = b.substr(0, Clamp(count, b.size()));
        break;
    }
    case 1:
        switch (g.Int(0, 3)) {
        case 0: s = t; m = tt; break;
        case 1: s += t; m += tt; break;
        case 2: s += CString(b.data(), int(b.size())); m += b; break;
        default: s += c; m += c;
        }
        break;
    case 2:
        if (g.Int(0, 1)) {
            ASSERT_EQ(s.Insert(i, c), len + 1);
            m.insert(Clamp(i, m.size()), 1, c);
        } else {
            ASSERT_EQ(s.Insert(i, t), len + int(tt.size()));
            m.insert(Clamp(i, m.size()), tt);
        }
        break;
    case 3:
        if (i < len && n > 0)
            m.erase(Clamp(i, m.size()), size_t(n));
        ASSERT_EQ(s.Delete(i, n), int(m.size()));
        break;
    case 4:
        ASSERT_EQ(s.Replace(c, d), c == d ? 0 : int(std::count(m.begin(), m.end(), c)));
        std::replace(m.begin(), m.end(), c, d);
        ASSERT_EQ(s.Remove(d), int(std::count(m.begin(), m.end(), d)));
        m.erase(std::remove(m.begin(), m.end(), d), m.end());
        break;
    case 5: {
        int count = 0;
        for (size_t p = tt.empty() ? std::string::npos : m.find(tt); p != std::string::npos; p = m.find(tt, p + ut.size()), ++count)
            m.replace(p, tt.size(), ut);
        ASSERT_EQ(s.Replace(t, u), count);
        break;
    }
    case 6:
        if (g.Int(0, 1))
            s.MakeUpper(), std::transform(m.begin(), m.end(), m.begin(), Upper);
        else
            s.MakeLower(), std::transform(m.begin(), m.end(), m.begin(), Lower);
        break;
    case 7: {
        // Trim, TrimLeft or TrimRight of white space, one character or a set.
        const int side = g.Int(0, 2), kind = g.Int(0, 2);
        ModelTrim(m, kind == 0 ? kSpace : kind == 1 ? std::string(1, c) : tt, side != 2, side != 1);
        if (side == 0)
            kind == 0 ? s.Trim() : kind == 1 ? s.Trim(c) : s.Trim(t);
        else if (side == 1)
            kind == 0 ? s.TrimLeft() : kind == 1 ? s.TrimLeft(c) : s.TrimLeft(t);
        else
            kind == 0 ? s.TrimRight() : kind == 1 ? s.TrimRight(c) : s.TrimRight(t);
        break;
    }
    case 8: {
        const size_t first = Clamp(i, m.size());
        ASSERT_EQ(Str(s.Mid(i, n)), m.substr(first, Clamp(n, m.size() - first)));
        ASSERT_EQ(Str(s.Mid(i)), m.substr(first));
        ASSERT_EQ(Str(s.Left(n)), m.substr(0, Clamp(n, m.size())));
        ASSERT_EQ(Str(s.Right(n)), m.substr(m.size() - Clamp(n, m.size())));
        break;
    }
    case 9: {
        const size_t from = Clamp(i, m.size());
        ASSERT_EQ(s.Find(c, i), i >= len ? -1 : Pos(m.find(c, from)));
        ASSERT_EQ(s.Find(t, i), !t || i > len ? -1 : Pos(m.find(tt, from)));
        ASSERT_EQ(s.ReverseFind(c), Pos(m.rfind(c)));
        ASSERT_EQ(s.FindOneOf(t), Pos(m.find_first_of(tt)));
        ASSERT_EQ(Str(s.SpanIncluding(t)), m.substr(0, m.find_first_not_of(tt)));
        ASSERT_EQ(Str(s.SpanExcluding(t)), m.substr(0, m.find_first_of(tt)));
        break;
    }
    case 10:
        ASSERT_EQ(s[i], i >= 0 && i < len ? m[size_t(i)] : 0);
        s.SetAt(i, c);
        if (i >= 0 && i < len)
            m[size_t(i)] = c;
        break;
    case 11: {
        const int size = g.Int(-2, 12);
        switch (g.Int(0, 4)) {
        case 0: s.GetBufferSetLength(size); m.resize(Clamp(size, INT_MAX), 0); break;
        case 1: s.Truncate(size); m.resize(std::min(m.size(), Clamp(size, INT_MAX))); break;
        case 2: s.FreeExtra(); break;
        case 3: s.Preallocate(size); break;
        default:
            // The caller writes into the buffer and gives the new length, or has it measured.
            std::memcpy(s.GetBuffer(int(b.size())), b.c_str(), b.size() + 1);
            s.ReleaseBuffer(c == 'a' ? -1 : int(b.size()));
            m = c == 'a' ? std::string(b.c_str()) : b;
        }
        break;
    }
    case 12: {
        const int expect = !t ? 1 : Sign(std::strcmp(m.c_str(), t));
        ASSERT_EQ(s.Compare(t), expect);
        ASSERT_EQ(s.CompareNoCase(t), !t ? 1 : Sign(strcasecmp(m.c_str(), t)));
        ASSERT_TRUE((s == t) == (expect == 0) && (s != t) == (expect != 0) && (t > s) == (expect < 0));
        ASSERT_TRUE((s >= t) == (expect >= 0) && (t <= s) == (expect >= 0));
        const CString other(tt.c_str());
        ASSERT_TRUE((s < other) == (std::strcmp(m.c_str(), tt.c_str()) < 0));
        break;
    }
    case 13: {
        const std::vector<std::string> expect = tt.empty() ? std::vector<std::string>(len > 0, m) : ModelTokens(m, tt);
        std::vector<std::string> got;
        for (int start = 0, guard = 0; start >= 0 && guard < 100; ++guard) {
            const CString token = s.Tokenize(tt.c_str(), start);
            if (start >= 0)
                got.push_back(Str(token));
        }
        ASSERT_EQ(got, expect);
        break;
    }
    case 14:
        s.MakeReverse();  // every byte of the alphabet is a character of its own
        std::reverse(m.begin(), m.end());
        break;
    case 15: {
        const CString o(b.data(), int(b.size()));
        switch (g.Int(0, 5)) {
        case 0: s = s + o; m += b; break;
        case 1: s = o + s; m = b + m; break;
        case 2: s = s + t; m += tt; break;
        case 3: s = t + s; m = tt + m; break;
        case 4: s = c + s; m = c + m; break;
        default: s = CString(s) + c + o + t; m += c + b + tt;
        }
        break;
    }
    case 16:
        // Arguments that point into the string itself.
        switch (g.Int(0, 3)) {
        case 0: s += s; m += m; break;
        case 1: s.Append(s.GetString() + len / 2, len - len / 2); m += m.substr(size_t(len / 2)); break;
        case 2: s = s.GetString() + len / 2; m = m.c_str() + len / 2; break;
        default: m.insert(std::min<size_t>(1, m.size()), std::string(m.c_str() + len / 2)); s.Insert(1, s.GetString() + len / 2);
        }
        break;
    case 17: {
        CString moved(std::move(s));
        ExpectState(s, "");
        s = std::move(moved);
        CString copy;
        copy = s;
        ExpectState(copy, m);
        break;
    }
    case 18:
        s.Empty();
        m.clear();
        break;
    default:
        s = CString(c, n % 5);
        m.assign(Clamp(n % 5, INT_MAX), c);
    }
}

}  // namespace

TEST(CString, MatchesStringModel)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Gen g(seed);
        CString s;
        std::string m;
        for (int step = 0; step < 300 && !HasFatalFailure(); ++step) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            Step(g, s, m);
            ExpectState(s, m);
        }
    }
}

TEST(CString, StepsByUtf8Characters)
{
    // "\xC2\xA9" is the copyright sign, "\xC3\xA9" e-acute: both end in byte A9.
    CString s("\xC2\xA9x\xC3\xA9");
    EXPECT_EQ(s.FindOneOf("\xC3\xA9"), 3);
    EXPECT_EQ(CString(s).TrimRight("\xC3\xA9x"), "\xC2\xA9");
    EXPECT_EQ(CString(s).TrimLeft("\xC3\xA9"), s);
    EXPECT_EQ(s.SpanExcluding("\xC3\xA9"), "\xC2\xA9x");
    EXPECT_EQ(s.SpanIncluding("x\xC2\xA9"), "\xC2\xA9x");
    EXPECT_EQ(CString("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80").MakeReverse(),
              "\xF0\x9F\x98\x80\xE2\x82\xAC\xC3\xA9" "a");
    // A byte that begins no character is a character of its own.
    EXPECT_EQ(CString("a\xC3\xE2\x82").MakeReverse(), "\x82\xE2\xC3" "a");
    int start = 0;
    const CString list("1\xC2\xA7" "2\xC2\xA7\xC2\xA7" "3");
    EXPECT_EQ(list.Tokenize("\xC2\xA7", start), "1");
    EXPECT_EQ(list.Tokenize("\xC2\xA7", start), "2");
    EXPECT_EQ(list.Tokenize("\xC2\xA7", start), "3");
    EXPECT_TRUE(list.Tokenize("\xC2\xA7", start).IsEmpty());
    EXPECT_EQ(start, -1);
}

TEST(CString, BadArgumentsAreHarmless)
{
    const char* null = nullptr;
    CString s(null);
    s += null;
    s = null;
    s.Append(null, 5);
    EXPECT_EQ(s, "");
    EXPECT_EQ(CString(null, 3).GetLength(), 0);
    EXPECT_EQ(CString('x', -1).GetLength(), 0);
    s = "abc";
    EXPECT_EQ(s.Find(null), -1);
    EXPECT_EQ(s.Replace(null, "x"), 0);
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace("b", null), 1);
    EXPECT_EQ(s.Insert(1, null), 2);
    EXPECT_EQ(s.Trim(null), "ac");
    EXPECT_EQ(s.Compare(null), 1);
    EXPECT_EQ(s.CompareNoCase(null), 1);
    EXPECT_EQ(s.Collate(null), 1);
    EXPECT_TRUE(s > null && null < s && s != null && !(s == null));
    EXPECT_EQ(s + null, "ac");
    EXPECT_EQ(null + s, "ac");
    EXPECT_EQ(s.Mid(INT_MAX, INT_MAX), "");
    EXPECT_EQ(s.Mid(INT_MIN, INT_MAX), "ac");
    EXPECT_EQ(s.Mid(1, INT_MIN), "");
    EXPECT_EQ(s.Delete(1, INT_MAX), 1);
    EXPECT_EQ(s.Insert(INT_MIN, 'x'), 2);
    EXPECT_EQ(s.Insert(INT_MAX, 'y'), 3);
    EXPECT_EQ(s, "xay");
    s.ReleaseBuffer(INT_MAX);  // clamped to the buffer
    EXPECT_LT(s.GetLength(), s.GetAllocLength());
    s.Format(null);
    EXPECT_EQ(s, "");
    int start = INT_MIN;
    EXPECT_TRUE(s.Tokenize(null, start).IsEmpty());
    EXPECT_EQ(start, -1);
    EXPECT_THROW(s.GetBuffer(INT_MAX), std::bad_alloc);
}

TEST(CString, ComparesTextsNotContents)
{
    const CString bin("ab\0cd", 5);
    EXPECT_EQ(bin.GetLength(), 5);
    EXPECT_TRUE(bin == "ab");
    EXPECT_TRUE(bin == CString("ab"));
    EXPECT_EQ(bin.Find('c'), 3);  // searches see the whole content
    EXPECT_EQ(bin.Find("cd"), 3);
    EXPECT_EQ(bin.ReverseFind('\0'), 2);
    EXPECT_EQ(CString("abc").Collate("abd"), -1);
    EXPECT_EQ(CString("ABC").CollateNoCase("abc"), 0);
    EXPECT_EQ(CString("\xff").Compare("a"), 1);  // bytes compare unsigned
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
// Formats v with the C library, Format and AppendFormat alike.
template <class T> void CheckFormat(const char* fmt, T v, CString& appended, std::string& model)
{
    char expect[512];
    const int n = std::snprintf(expect, sizeof expect, fmt, v);
    CString s("old");
    s.Format(fmt, v);
    appended.AppendFormat(fmt, v);
    model.append(expect, size_t(n));
    ASSERT_EQ(Str(s), std::string(expect, size_t(n))) << fmt;
}
#pragma GCC diagnostic pop

// Every conversion with flags, width and precision against the C library.
TEST(CString, FormatMatchesSnprintf)
{
    std::mt19937 g(7);
    const auto pick = [&](const char* set) { return set[g() % std::strlen(set)]; };
    CString appended;
    std::string model;
    for (int i = 0; i < 5000 && !HasFatalFailure(); ++i) {
        const char conv = pick("diuxXocsfeEgGaA");
        std::string f = "<%%%";
        for (int k = g() % 3; k > 0; --k)
            f += pick("-+ #0");
        if (g() % 2)
            f += std::to_string(g() % 40);
        if (g() % 2)
            f.append(".").append(std::to_string(g() % 20));
        const bool isLong = std::strchr("diuxXo", conv) && g() % 3 == 0;
        f += std::string(isLong ? "l" : "") + conv + ">";
        const long long v = static_cast<long long>(g()) - (1LL << 31);
        if (std::strchr("feEgGaA", conv))
            CheckFormat(f.c_str(), std::ldexp(double(v), int(g() % 80) - 40), appended, model);
        else if (conv == 's')
            CheckFormat(f.c_str(), "text", appended, model);
        else if (isLong)
            CheckFormat(f.c_str(), long(v), appended, model);
        else
            CheckFormat(f.c_str(), int(v), appended, model);
    }
    EXPECT_EQ(Str(appended), model);
}

TEST(CString, FormatEdgeCases)
{
    CString s;
    const std::string big(5000, 'x');
    s.Format("%s|%d", big.c_str(), 42);  // beyond the first working buffer
    EXPECT_EQ(Str(s), big + "|42");
    s = "ab";
    s.Format("%s-%s", s.GetString(), s.GetString());  // arguments inside the string
    EXPECT_EQ(s, "ab-ab");
    s.AppendFormat("%s", s.GetString());
    EXPECT_EQ(s, "ab-abab-ab");
    s.Format("a%cb", 0);
    EXPECT_EQ(Str(s), std::string("a\0b", 3));
    s = "kept";
    s.Format("%ls", L"\x100");  // no multibyte form in the "C" locale: the formatter fails
    EXPECT_EQ(s, "kept");
}

// Whatever locale the thread runs in, numbers use the decimal point.
TEST(CString, FormatIgnoresTheLocale)
{
    locale_t comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "ru_RU.UTF-8"})
        if ((comma = newlocale(LC_ALL_MASK, name, nullptr)))
            break;
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const locale_t old = uselocale(comma);
    CString s;
    s.Format("%.2f", 1.5);
    uselocale(old);
    freelocale(comma);
    EXPECT_EQ(s, "1.50");
}
