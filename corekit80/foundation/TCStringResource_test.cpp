// Tests of string table lookup, language fallback and modules' registered tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "corekit80/foundation/TCResourceLanguage.h"
#include "corekit80/foundation/TCStringResource.h"

namespace {

const _TC_StrResource kTable[] = {
    {1, "Open", "Öffnen"}, {2, "Close", nullptr}, {3, nullptr, nullptr}, {1, "Second", "Zweite"}, {4, nullptr, "Nur"},
};
const int kRows = 5;

TEST(LoadStrRes, PicksTheColumnAndFallsBackToEnglish)
{
    const struct { int id, language; const char* expected; } cases[] = {
        {1, 0, "Open"},  {1, 1, "Öffnen"}, {1, 5, "Öffnen"}, {1, -3, "Open"}, {2, 1, "Close"},
        {3, 0, ""},      {3, 1, ""},       {4, 1, "Nur"},    {4, 0, ""},      {9, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(LoadStrRes(c.id, c.language, kRows, kTable), c.expected) << c.id << "/" << c.language;
    EXPECT_STREQ(LoadStrRes(1, 1, 0, kTable), "");
    EXPECT_STREQ(LoadStrRes(1, 1, 3, nullptr), "");
}

bool LanguageFollowsTheLocaleUntilSet()
{
    const struct { const char *all, *messages, *lang; int expected; } cases[] = {
        {"de_DE.UTF-8", "en_US", "en_US", 1}, {"", "de_AT", "en_US", 1}, {nullptr, "en_GB", "de_DE", 0},
        {nullptr, nullptr, "de", 1},          {nullptr, nullptr, "C", 0}, {nullptr, nullptr, nullptr, 0},
    };
    bool ok = true;
    for (const auto& c : cases) {
        const char* values[] = {c.all, c.messages, c.lang};
        const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
        for (int i = 0; i < 3; ++i)
            values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        ok = ok && TCGetResourceLanguage() == c.expected;
    }
    setenv("LANG", "de_DE", 1);
    ok = ok && std::strcmp(LoadStrRes(1, kRows, kTable), "Öffnen") == 0;
    ok = ok && TCSetLoadStrResLanguage(0) == -1 && TCGetResourceLanguage() == 0;
    ok = ok && TCSetLoadStrResLanguage(-7) == 0 && TCGetResourceLanguage() == 0;
    return ok && TCSetLoadStrResLanguage(9) == 0 && TCGetResourceLanguage() == 1;
}

// The language follows LC_ALL, LC_MESSAGES and LANG until it is set; it cannot go
// back to following them. Run in a fresh process, where nothing has set it yet.
TEST(ResourceLanguage, FollowsTheLocaleUntilSet)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(LanguageFollowsTheLocaleUntilSet() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(LoadStrRes, ModulesFindTheirRegisteredTables)
{
    int previous = TCSetLoadStrResLanguage(1);
    static const _TC_StrResource kOther[] = {{1, "Other", "Andere"}, {7, "Seven", "Sieben"}};
    static int moduleLibrary;
    auto* module = reinterpret_cast<HINSTANCE>(&moduleLibrary);
    auto* library = static_cast<HINSTANCE>(nullptr);
    TCRegisterStrResources(module, 2, kOther);
    TCRegisterStrResources(module, kRows, kTable);
    TCRegisterStrResources(library, kRows, kTable);
    EXPECT_EQ(LoadStrRes(1u, module), "Andere");
    EXPECT_EQ(LoadStrRes(2u, module), "Close");
    EXPECT_EQ(LoadStrRes(7u, library), "");
    EXPECT_EQ(LoadStrRes(1u, library), "Öffnen");
    TCUnregisterStrResources(module);
    EXPECT_EQ(LoadStrRes(1u, module), "");
    EXPECT_EQ(LoadStrRes(1u, library), "Öffnen");
    TCUnregisterStrResources(library);
    TCSetLoadStrResLanguage(previous < 0 ? 0 : previous);
}

}  // namespace
