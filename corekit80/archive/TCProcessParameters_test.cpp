// Tests of parameter texts: parsing, edits and texts built from random parameter sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "corekit80/archive/TCProcessParameters.h"

namespace {

using PP = TCProcessParameters;

enum Syntax { Config, Unquoted, CommandLine, CommandLineEq, Custom };

PP Make(Syntax s)
{
    switch (s) {
    case Config: return PP();
    case Unquoted: { PP p; p.UnQuote(true); return p; }
    case CommandLine: return PP(false, false, "-", " ", " ", nullptr);
    case CommandLineEq: return PP(false, false, "-", " ", "=", nullptr);
    case Custom: break;
    }
    return PP(true, false, nullptr, "\n;", ":=", "#");
}

// One parameter as read back: number is what GetParamValDbl gives (GetParamValInt its
// truncation).
struct Param {
    std::string section, name;
    int type;
    std::string value;
    double number;
};

std::vector<Param> Read(const PP& p)
{
    std::vector<Param> out;
    for (int i = 0; i < p.GetParamCount(); ++i) {
        out.push_back({p.GetParamSection(i).operator const char*(), p.GetParamName(i).operator const char*(),
                       p.GetParamValType(i), std::string(p.GetParamValStr(i), size_t(p.GetParamValStr(i).GetLength())),
                       p.GetParamValDbl(i)});
        EXPECT_EQ(p.GetParamValInt(i), int(out.back().number)) << out.back().name;
    }
    return out;
}

bool operator==(const Param& a, const Param& b)
{
    return a.section == b.section && a.name == b.name && a.type == b.type && a.value == b.value && a.number == b.number;
}

void PrintTo(const Param& p, std::ostream* os)
{
    *os << "{[" << p.section << "] " << p.name << " " << p.type << " \"" << p.value << "\" " << p.number << "}";
}

TEST(TCProcessParameters, Parse)
{
    struct {
        Syntax syntax;
        const char* text;
        int result;
        const char* error;
        std::vector<Param> params;
    } cases[] = {
        {Config, "a=1\r\nb=2.5\r\n[S]\r\nc=\"x y\"\r\n# note\r\nd", 4, "",
         {{"", "a", 1, "1", 1}, {"", "b", 2, "2.5", 2.5}, {"S", "c", 3, "x y", 0}, {"S", "d", 0, "", 0}}},
        {Config, "a=\r\n", -1, "Value is missing at parameter a", {}},
        {Config, "x\r\na=\"x", -1, "Ending quotation mark is missing at parameter a", {{"", "x", 0, "", 0}}},
        {Config, "a=\"x\"y", -1, "Parameter delimiter is missing after ending quotation mark at parameter a", {}},
        {Config, "[S", -1, "Section end character is missing at section [S...", {}},
        {Config, "[a\r\nb]", -1, "Section end character is missing at section [a...", {}},
        // A lone line feed is no delimiter.
        {Config, "a=1\nb=2", 1, "", {{"", "a", 3, "1\nb=2", 1}}},
        {Config, "a = 1\r\n=5\r\n;c\r\n\r\n[]\r\n[T]e=1,5", 3, "",
         {{"", "a ", 1, " 1", 1}, {"", "", 1, "5", 5}, {"T", "e", 3, "1,5", 1}}},
        {Config, "a=12abc\r\nb='1'\r\nd=x\\q", 3, "",
         {{"", "a", 3, "12abc", 12}, {"", "b", 3, "1", 0}, {"", "d", 3, "x\\q", 0}}},
        // Only unquoting makes a backslash keep a quoted value open.
        {Config, "a=\"x\\\"", 1, "", {{"", "a", 3, "x\\", 0}}},
        {Unquoted, "a=\"x\\\"", -1, "Ending quotation mark is missing at parameter a", {}},
        {Unquoted, "a=\"x\\\"y\"\r\nb=c\\td", 2, "", {{"", "a", 3, "x\"y", 0}, {"", "b", 3, "c\td", 0}}},
        {Unquoted, "a=x\\q", -1, "Error at unquoting value of parameter a", {}},
        {CommandLine, "-a x y -b 2 ", 2, "", {{"", "a", 3, "x y", 0}, {"", "b", 1, "2", 2}}},
        {CommandLine, "-a \"x y\" -c", 2, "", {{"", "a", 3, "x y", 0}, {"", "c", 0, "", 0}}},
        {CommandLine, "a x", -1, "Parameter prefix character is missing!", {}},
        {CommandLine, "-a  x", -1, "Value is missing at parameter a", {}},
        {CommandLineEq, "-a=x y -b=-2 -c", 3, "",
         {{"", "a", 3, "x y", 0}, {"", "b", 1, "-2", -2}, {"", "c", 0, "", 0}}},
        {Custom, "a:1;b=2\n#c;d\n[S]e", 3, "", {{"", "a", 1, "1", 1}, {"", "b", 1, "2", 2}, {"S", "e", 0, "", 0}}},
    };
    // A host locale with a decimal comma does not change the reading.
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, locale))
            continue;
        for (const auto& c : cases) {
            PP p = Make(c.syntax);
            EXPECT_EQ(p.ParseParamString(c.text), c.result) << c.text << " in " << locale;
            EXPECT_STREQ(p.GetErrorText(), c.error) << c.text;
            EXPECT_EQ(Read(p), c.params) << c.text << " in " << locale;
            EXPECT_STREQ(p.BuildParamString(), c.text);
        }
    }
    std::setlocale(LC_NUMERIC, "C");
    PP p;
    const char* argv[] = {"a=1", nullptr, "b"};
    EXPECT_EQ(p.ParseParamString(3, argv), 2);
    EXPECT_STREQ(p.BuildParamString(), "a=1\r\nb");
    EXPECT_EQ(p.GetParamValType(2), -1);
    EXPECT_EQ(p.GetParamName(-1), "");
    EXPECT_EQ(p.FindParameterNoCase("B", nullptr), 1);
    EXPECT_EQ(p.FindParameter("B", nullptr), -1);
    EXPECT_EQ(p.FindParameter("b", ""), 1);
    EXPECT_EQ(p.FindParameter("b", "S"), -1);
}

TEST(TCProcessParameters, Edit)
{
    using Op = std::function<void(PP&)>;
    struct {
        Syntax syntax;
        const char* text;
        Op edit;
        const char* want;
    } cases[] = {
        {Config, "a=1", [](PP& p) { EXPECT_TRUE(p.SetParamValStr(0, "x\r\ny\"")); }, "a=\"x\r\ny\\\"\""},
        {Config, "a=1\r\n", [](PP& p) { p.SetParamValStr(0, "x\"y"); }, "a=x\"y\r\n"},
        {Config, "a=1", [](PP& p) {
             p.DecimalComma(true);
             p.SetParamValDbl(0, 1.5, SF_AUTO, 0);
             EXPECT_EQ(p.GetParamValType(0), PP::PVT_STRING);
         }, "a=1,5"},
        {Config, "a", [](PP& p) {
             p.SetParamValInt(0, -7);
             EXPECT_EQ(p.GetParamValInt(0), -7);
             p.SetParamValDbl(0, 0.25, SF_FIXED, 3);
         }, "a=0.250"},
        {Config, "", [](PP& p) {
             EXPECT_EQ(p.InsertParameter("n", "T", false), 0);
             EXPECT_EQ(p.InsertParameter("n", "T", false), 0);
         }, "[T]\r\nn\r\n"},
        {Config, "[A]\r\n[B]\r\nb=1\r\n", [](PP& p) { EXPECT_EQ(p.InsertParameter("n", "A", false), 0); },
         "[A]\r\nn\r\n[B]\r\nb=1\r\n"},
        {Config, "a=1", [](PP& p) { p.InsertParameter("n", nullptr, false); }, "a=1\r\nn\r\n"},
        {Config, "[A]\r\na=1\r\n[B]\r\n", [](PP& p) { p.InsertParameter("a", "A", true); },
         "[A]\r\na=1\r\na\r\n[B]\r\n"},
        {Config, "# c\r\n[B]\r\nb=1", [](PP& p) { EXPECT_EQ(p.InsertParameter("n", "", false), 0); },
         "n\r\n# c\r\n[B]\r\nb=1"},
        {Config, "a=1", [](PP& p) { EXPECT_EQ(p.InsertParameter("n", "B", false), 1); }, "a=1\r\n[B]\r\nn\r\n"},
        {Config, "a=1\r\nb=2", [](PP& p) { p.ClearParamVal(0); }, "a\r\nb=2"},
        {Config, "a=1\r\nb=2\r\n", [](PP& p) { p.DeleteParameter(0); }, "b=2\r\n"},
        {Config, "a=1\r\n[S]\r\nb=2\r\n# c\r\n[T]\r\nc=3", [](PP& p) {
             EXPECT_FALSE(p.DeleteSection(""));
             EXPECT_FALSE(p.DeleteSection("X"));
             EXPECT_TRUE(p.DeleteSection("S"));
             EXPECT_EQ(p.GetParamSection(1), "T");
         }, "a=1\r\n# c\r\n[T]\r\nc=3"},
        // The prefix stays when its parameter goes.
        {CommandLine, "-a x -b 2", [](PP& p) { p.DeleteParameter(0); }, "--b 2"},
        {Config, "a=1", [](PP& p) {
             EXPECT_FALSE(p.SetParamValInt(1, 0));
             EXPECT_FALSE(p.SetParamValDbl(-1, 0, SF_AUTO, 0));
             EXPECT_FALSE(p.SetParamValStr(1, ""));
             EXPECT_FALSE(p.ClearParamVal(1));
             EXPECT_FALSE(p.DeleteParameter(1));
         }, "a=1"},
    };
    for (const auto& c : cases) {
        PP p = Make(c.syntax);
        p.ParseParamString(c.text);
        c.edit(p);
        EXPECT_STREQ(p.BuildParamString(), c.want) << c.text;
        EXPECT_TRUE(p.CheckConsistency()) << c.text;
    }
}

// A random parameter set is written by inserting parameters and setting their values; a
// new parse of the text gives the same set. Values keep to what is written unchanged:
// strings start with a letter no number starts with, and hold no backslash when
// unquoting; with a delimiter inside they are quoted, which needs unquoting for quotes.
TEST(TCProcessParameters, BuiltTextParsesBack)
{
    std::mt19937 rng(18);
    auto pick = [&](const std::string& from) { return from[rng() % from.size()]; };
    for (Syntax syntax : {Config, Unquoted, Custom}) {
        const bool unquote = syntax != Config;
        const std::string delimiter = syntax == Custom ? "\n" : "\r\n";
        for (int round = 0; round < 200; ++round) {
            PP built = Make(syntax);
            std::vector<Param> want;
            const int sections = int(rng() % 4);
            for (int s = 0; s <= sections; ++s) {
                const std::string section = s == 0 ? "" : "S " + std::to_string(s);
                for (int n = int(rng() % 5); n > 0; --n) {
                    std::string name(1, pick("abcxyz"));
                    for (int k = int(rng() % 6); k > 0; --k)
                        name += pick("abz09_ .-");
                    const int i = built.InsertParameter(name.c_str(), section.c_str(), true);
                    Param p{section, name, int(rng() % 4), "", 0};
                    if (p.type == PP::PVT_INTEGER) {
                        const int v = int(rng());
                        built.SetParamValInt(i, v);
                        p.value = std::to_string(v);
                        p.number = v;
                    } else if (p.type == PP::PVT_DOUBLE) {
                        p.number = (int(rng() % 8000000) - 4000000) / 4.0 + 0.125;
                        built.SetParamValDbl(i, p.number, SF_AUTO, 0);
                        p.value = std::to_string(p.number);
                        p.value.erase(p.value.find_last_not_of('0') + 1);
                    } else if (p.type == PP::PVT_STRING) {
                        p.value = pick("abcdfghjkmopqrstuvwxyz");
                        for (int k = int(rng() % 12); k > 0; --k)
                            p.value += rng() % 8 ? std::string(1, pick("ab yz=#;:[]'\"\r\n\t")) : delimiter;
                        if (!unquote && p.value.find(delimiter) != std::string::npos)
                            std::replace(p.value.begin(), p.value.end(), '"', '\'');
                        if (!unquote && rng() % 4 == 0)
                            p.value += "\\n";
                        built.SetParamValStr(i, p.value.c_str());
                    }
                    want.push_back(p);
                }
            }
            PP parsed = Make(syntax);
            ASSERT_EQ(parsed.ParseParamString(built.BuildParamString()), int(want.size()))
                << parsed.GetErrorText() << "\n" << built.BuildParamString();
            EXPECT_EQ(Read(parsed), want) << built.BuildParamString();
            EXPECT_EQ(Read(built), want);
        }
    }
}

} // namespace
