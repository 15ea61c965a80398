// Tests of the port type validation: tokens, declarators, questions, quoting, help targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "corekit80/porttypes/TCPortTypes.h"
#include "corekit80/platform/TCModuleFileImpl.h"
#include "corekit80/porttypes/TCValidateActualPortTypeHost_test.h"
#include "corekit80/porttypes/TCValidateActualPortTypeImpl.h"

namespace {

struct TypeText {
    const char* text;
    int count;
};

// Element types, pointers, bus and parameter types, type information, aliases (other
// declarators, fixed sizes), a parameter list, the undefined type by code and a port
// without any type.
const TypeText kTexts[] = {
    {"SWORD{BIN}", 1}, {"SWORD[1]{BIN}", 1}, {"SWORD[]{BIN}", 1}, {"POINTER{SWORD[][]}", 1},  // 0-3
    {"DOUBLE{TIME_DOMAIN}", 1}, {"DOUBLE[1]{TIME_DOMAIN}", 1}, {"DOUBLE[]{TIME_DOMAIN}", 1},  // 4-6
    {"POINTER{DOUBLE[][]}", 1}, {"UBYTE[]{Text}", 1}, {"UBYTE[][]{Text}", 1},                // 7-9
    {"POINTER{Image}", 1}, {"POINTER[]{}", 1}, {"STRUCT_BUS{BUS}", 1}, {"MultiType{}", 1},    // 10-13
    {"EXT/DB{}", 1}, {"NULL{no_parameters}", 1},                                             // 14-15
    {"TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 2}, {"TYPEINFO{TypeInfo} SWORD[]{BIN}", 2},  // 16-17
    {"DOUBLE{SCALAR}", 1}, {"DOUBLE[4]{TIME_DOMAIN}", 1}, {"DOUBLE[]{FREQ_DOMAIN}", 1},       // 18-20
    {"SWORD{Gain} DOUBLE{Offset}", 2}, {"{}", 1}, {nullptr, 0},                              // 21-23
};

// Own type (row) against offered type (column): A accepted, R refused (102), Q asked
// (101), E no token on either side (104).
const char* const kOutcome[] = {
    "ARRRRRRRRRRRRRRRRRRRRQRA", "RAARRRRRRRRRRRRRRRRRRRRA", "RAARRRRRRRRRRRRRRRRRRRRA",  // 0-2
    "RRRARRRRRRRRRRRRRRRRRRRA", "RRRRARRRRRRRRRRRRRQRRRRA", "RRRRRAARRRRRRRRRRRRRQRRA",  // 3-5
    "RRRRRAARRRRRRRRRRRRAQRRA", "RRRRRRRARRRRRRRRRRRRRRRA", "RRRRRRRRARRRRRRRRRRRRRRA",  // 6-8
    "RRRRRRRRRARRRRRRRRRRRRRA", "RRRRRRRRRRARRRRRRRRRRRRA", "RRRRRRRRRRRARRRRRRRRRRRA",  // 9-11
    "RRRRRRRRRRRRARRRRRRRRRRA", "RRRRRRRRRRRRRARRRRRRRRRA", "RRRRRRRRRRRRRRARRRRRRRRA",  // 12-14
    "RRRRRRRRRRRRRRRARRRRRRRA", "RRRRRRRRRRRRRRRRARRRRRRA", "RRRRRRRRRRRRRRRRRARRRRRA",  // 15-17
    "RRRRQRRRRRRRRRRRRRARRRRA", "RRRRRRARRRRRRRRRRRRAQRRA", "RRRRRQQRRRRRRRRRRRRQARRA",  // 18-20
    "QRRRRRRRRRRRRRRRRRRRRARA", "RRRRRRRRRRRRRRRRRRRRRRAA", "AAAAAAAAAAAAAAAAAAAAAAAE",  // 21-23
};
constexpr int kCount = int(std::size(kTexts));
static_assert(std::size(kOutcome) == kCount);

// Every pair without a host window, with one answering yes, no or "stop", and silently
// through the check of two texts.
TEST(TCValidateActualPortType, CompatibilityOfAllTypeTexts)
{
    constexpr int kNoWindow = 2;
    for (int answer : {kNoWindow, 1, 0, -1})
        for (int i = 0; i < kCount; ++i)
            for (int j = 0; j < kCount; ++j) {
                std::optional<RecordingHost> host;
                if (answer != kNoWindow)
                    host.emplace().defaultAnswer = answer;
                const TypeText &own = kTexts[i], &offered = kTexts[j];
                const char outcome = kOutcome[i][j];
                SCOPED_TRACE(std::to_string(i) + "<-" + std::to_string(j) + " answer " + std::to_string(answer));
                TCValidateActualPortType v;
                v.FillValidation(own.count, own.text);
                v.ParsingPortType(offered.text, offered.count);
                EXPECT_EQ(v.ValidateTokenSet("Mod", false) && v.ValidateDeclaratorSet("Mod"),
                          outcome == 'A' || (outcome == 'Q' && answer != 0));
                EXPECT_EQ(TCPortTypes::DoesDataTypeMatch(own.text, own.count, offered.text, offered.count, nullptr),
                          outcome == 'A' || outcome == 'Q');
                if (!host)
                    continue;
                const int expected = outcome == 'Q' ? 101 : outcome == 'E' ? 104 : outcome == 'R' ? 102 : 0;
                EXPECT_EQ(host->codes.empty(), outcome == 'A');
                EXPECT_TRUE(outcome == 'R' || host->codes.size() <= 1);
                for (size_t k = 0; k < host->codes.size(); ++k)
                    EXPECT_TRUE(host->codes[k] == expected && host->records[k].module == "Mod");
            }
}

TEST(TCValidateActualPortType, TokenNamesCompareNumbersInBrackets)
{
    const struct {
        const char *own, *offered;
        bool match;
    } cases[] = {
        {"SWORD[]", "SWORD[1]", true}, {"SWORD[1]", "SWORD[]", true}, {"DOUBLE[2]", "DOUBLE[1]", false},
        {"DOUBLE[01]", "DOUBLE[1]", true}, {"A[0]", "A[000]", true}, {"A[][]", "A[3][4]", true},
        {"A[3][]", "A[3][5]", true}, {"A[3][4]", "A[3][5]", false}, {"A[]", "A", false}, {"A", "A[]", false},
        {"A[x]", "A[]", false}, {"A[]x", "A[7]x", true}, {"A[]x", "A[7]y", false}, {"A[-1]", "A[]", false},
        {"A[ 1]", "A[1]", false}, {"A[1", "A[1]", false}, {"A[1]", "A(1)", false},
        {"A[123456789012345678901234567890]", "A[0123456789012345678901234567890]", true},
        {"A[123456789012345678901234567890]", "A[123456789012345678901234567891]", false},
    };
    for (const auto& c : cases) {
        TCValidateActualPortType v;
        v.InsertPortToken(c.own, "d");
        v.ParsingPortType((std::string(c.offered) + "{d}").c_str(), 1);
        EXPECT_EQ(v.ValidateTokenSet(nullptr, true), c.match) << c.own << " " << c.offered;
    }
}

TEST(TCValidateActualPortType, PointersDifferByDeclarator)
{
    RecordingHost host;
    EXPECT_FALSE(TCPortTypes::DoesDataTypeMatch("POINTER{SWORD[][]}", 1, "POINTER{DOUBLE[][]}", 1, "Mod"));
    ASSERT_EQ(host.codes, std::vector<int>{102});
    EXPECT_EQ(host.records[0].internal + " " + host.records[0].actual, "POINTER{SWORD[][]} POINTER{DOUBLE[][]}");
}

// Questions stop at the first answer that is 0 (refused) or negative (accepted).
TEST(TCValidateActualPortType, DeclaratorQuestionsFollowTheAnswers)
{
    const struct {
        std::deque<int> answers;
        bool result;
        size_t asked;
    } cases[] = {{{1, 1, 1}, true, 3}, {{1, 0, 1}, false, 2}, {{-1, 0}, true, 1}, {{2, -5, 0}, true, 2}, {{0}, false, 1}};
    for (const auto& c : cases) {
        RecordingHost host;
        host.answers = c.answers;
        TCValidateActualPortType v;
        v.FillValidation(4, "A{x} B{y} C{same} D{z}");
        v.ParsingPortType("A{1} B{2} C{same} D{3}", 4);
        EXPECT_EQ(v.ValidateDeclaratorSet("M"), c.result);
        ASSERT_EQ(host.records.size(), c.asked);
        EXPECT_EQ(host.records[0].internal + host.records[0].actual, "x1");
    }
}

TEST(TCValidateActualPortType, SplitsTextsIntoTokens)
{
    const struct {
        const char* text;
        int count;
        const char* joined;
        int tokens;
    } cases[] = {
        {"  TYPEINFO{TypeInfo}   DOUBLE[]{ TIME_DOMAIN}  ", 2, "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 2},
        {"SWORD{BIN}", 2, "SWORD{BIN} {}", 2}, {"SWORD", 1, "SWORD{}", 1}, {"A{b c", 1, "A{b c}", 1},
        {"A{x} B{y}", 1, "A{x}", 1}, {"A{x}", 0, "", 0}, {"A{x}", -3, "", 0}, {"", 1, "{}", 1},
        {"{}", 1000000, "{} {} {}", 3},
    };
    for (const auto& c : cases) {
        TCValidateActualPortType v;
        v.FillValidation(c.count, c.text);
        EXPECT_STREQ(v.GetInternalPortType(), c.joined) << c.text;
        EXPECT_EQ(v.GetNoOfInternalPortToken(), c.tokens) << c.text;
        CString token, declarator;
        EXPECT_FALSE(v.GetInternalToken(c.tokens, token, declarator));
        EXPECT_EQ(v.GetInternalToken(0, token, declarator), c.tokens > 0);
    }
}

template <class Text> void CheckQuoteRoundTrip(std::mt19937& rng)
{
    const char alphabet[] = {'\\', ' ', 'a', '\0', '{', '\xFF'};
    for (int round = 0; round < 3000; ++round) {
        std::string s(rng() % 24, '\0');
        for (char& c : s)
            c = rng() % 4 ? alphabet[rng() % sizeof alphabet] : char(rng());
        Text text(s.data(), int(s.size()));
        TCValidationQuote(text);
        TCValidationUnQuote(text);
        ASSERT_EQ(std::string(static_cast<const char*>(text), size_t(text.GetLength())), s);
    }
}

TEST(TCValidateActualPortType, QuotingRoundTrips)
{
    TCString text("a b\\c");
    TCValidationQuote(text);
    EXPECT_STREQ(text, "a\\ b\\\\c");
    std::mt19937 rng(8);
    CheckQuoteRoundTrip<TCString>(rng);
    CheckQuoteRoundTrip<CString>(rng);
}

TEST(TCValidateActualPortType, HelpTargets)
{
    const std::string dir(1100, 'd');
    const struct {
        const char* topic;
        std::string module, target;
    } cases[] = {
        {"manual.htm", "/m/libf.so", "manual.htm"}, {"#Gain", "/m/libf.so", "/m/libf.htm#Gain"},
        {"", "/m/libf.so.1.2", "/m/libf.htm"}, {nullptr, "C:/m/Filter.DLL", "C:/m/Filter.htm"},
        {"#a", "/m.so.d/program", "/m.so.d/program.htm#a"}, {"#a", "/m/lib.sound.so", "/m/lib.sound.htm#a"},
        {"#a", "", ".htm#a"}, {"#a", "/" + dir + "/x.so", ("/" + dir).substr(0, 1024) + ".htm#a"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(TCHelpTarget(c.topic, c.module.c_str()), c.target.c_str()) << c.module;

    LaunchHelp("#x");  // without a host window nothing is sent
    RecordingHost host;
    LaunchHelp("#intro");
    LaunchHelp("page.htm");
    const TCString self = TCModuleFileOfAddress(reinterpret_cast<const void*>(&CheckQuoteRoundTrip<CString>));
    ASSERT_FALSE(self.IsEmpty());
    EXPECT_EQ(host.help, (std::vector<std::string>{std::string(TCHelpTarget("#intro", self)), "page.htm"}));
    EXPECT_EQ(TCModuleFileOfAddress(nullptr), "");
}

}  // namespace
