// Tests of translation: dictionaries, old translators, caching, lines, fonts and threads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "corekit80/foundation/TCTranslated.h"
#include "corekit80/foundation/TCTranslatedFont.h"
#include "corekit80/foundation/TCTranslatedFontCache.h"
#include "corekit80/foundation/TCTranslatedMultilineString.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/foundation/TCTranslationTestTranslator_test.h"
#include "corekit80/platform/TCDebugOutput.h"

namespace {

const std::string kOutOfDate =
    "Translator|8|This Translator is out of date. Please use the new version 6.01 or later!";

TCLogFont Face(const char* face)
{
    TCLogFont font;
    std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", face);
    return font;
}

std::string DebugOutput;
void CaptureDebugOutput(const char* text) { DebugOutput += text; }

class Translation : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestMessages::Take();
        TCTranslated::ShowTraces(false);
        TCTranslated::CheckHiddenChanges(false);
    }
};

TEST(TranslationFresh, WithoutTranslatorTextsAndFontsAreTheirOwnTranslation)
{
    // A fresh process: no test has installed a translator there yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TCTranslatedString start("Start");
            CString text("Stop");
            bool same = std::strcmp(start.Translate(), "Start") == 0 &&
                        CTranslator::Translate(text) == "Stop" &&
                        TCLogFont::IsEqual(CTranslator::TranslateFont(Face("Arial")), Face("Arial"));
            std::exit(same ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Translation, DictionariesAreAskedInOrderAndFallBackToTheInput)
{
    TestTranslator& translator = TestTranslator::Install(2, 2);
    translator.Dictionary(0).texts = {{"Start", "Starten"}};
    translator.Dictionary(1).texts = {{"Start", "Los"}, {"Stop", "Halt"}};
    translator.Dictionary(1).faces = {{"Tahoma", "Arial"}};

    const struct { const char *input, *expected; } cases[] = {
        {"Start", "Starten"}, {"Stop", "Halt"}, {"Pause", "Pause"}, {"", ""}};
    for (const auto& c : cases) {
        EXPECT_STREQ(CTranslator::TranslateString(c.input), c.expected) << c.input;
        EXPECT_EQ(CTranslator::TranslateString(CString(c.input)), c.expected) << c.input;
        EXPECT_STREQ(TCTranslatedString::Translate(c.input), c.expected) << c.input;
    }
    TCLogFont tahoma = Face("Tahoma");
    tahoma.lfHeight = -20;
    TCLogFont translated = CTranslator::TranslateFont(tahoma);
    EXPECT_STREQ(translated.lfFaceName, "Arial");
    EXPECT_EQ(translated.lfHeight, -20);
    EXPECT_TRUE(TCLogFont::IsEqual(CTranslator::TranslateFont(Face("Courier")), Face("Courier")));
    // The old callback serves Translate(CString&) even for a current translator.
    CString text("Stop");
    EXPECT_EQ(CTranslator::Translate(text), "Halt");
    EXPECT_EQ(text, "Halt");
    EXPECT_TRUE(TestMessages::Take().empty());
}

TEST_F(Translation, OldTranslatorWarnsOnEveryTextAndKeepsFonts)
{
    TestTranslator& translator = TestTranslator::Install(1, 1);
    translator.Dictionary(0).texts = {{"Start", "Starten"}};
    translator.Dictionary(0).faces = {{"Tahoma", "Arial"}};
    EXPECT_STREQ(CTranslator::TranslateString("Start"), "Starten");
    EXPECT_STREQ(CTranslator::TranslateString("Stop"), "Stop");
    EXPECT_STREQ(CTranslator::TranslateFont(Face("Tahoma")).lfFaceName, "Tahoma");
    EXPECT_EQ(TestMessages::Take(), std::vector<std::string>(3, kOutOfDate));
    CString text("Start");
    EXPECT_EQ(CTranslator::Translate(text), "Starten");
    EXPECT_TRUE(TestMessages::Take().empty());
}

TEST_F(Translation, MissingCallbacksOrDictionariesGiveTheInput)
{
    TestTranslator& empty = TestTranslator::Install(2, 0);
    EXPECT_STREQ(CTranslator::TranslateString("Start"), "Start");
    EXPECT_FALSE(CTranslator::SetTranslatePtr(empty.Record()));
    EXPECT_FALSE(CTranslator::SetTranslatePtr(nullptr));
    EXPECT_EQ(CTranslator::GetTranslatePtr(), empty.Record());

    TestTranslator& noCallback = TestTranslator::Install(2, 1);
    noCallback.Dictionary(0).texts = {{"Start", "Starten"}};
    noCallback.Record()->translate = nullptr;
    EXPECT_STREQ(CTranslator::TranslateString("Start"), "Start");
    EXPECT_STREQ(CTranslator::TranslateFont(Face("Tahoma")).lfFaceName, "Tahoma");
    noCallback.Record()->oldTranslate = nullptr;
    CString text("Start");
    EXPECT_EQ(CTranslator::Translate(text), "Start");
}

TEST_F(Translation, TranslatedStringsCacheUntilTheLanguageChanges)
{
    TestTranslator& translator = TestTranslator::Install(2, 1);
    TestDictionary& dictionary = translator.Dictionary(0);
    dictionary.texts = {{"Start", "Starten"}};
    // Message 22 installs a translator as SetTranslatePtr does.
    TestTranslator::Install(2, 1);
    EXPECT_EQ(TCTranslated::GetMessage(22, reinterpret_cast<long>(translator.Record())), 0);
    EXPECT_EQ(CTranslator::GetTranslatePtr(), translator.Record());

    TCTranslatedString start("Start");
    TCTranslatedString copy(start);
    EXPECT_FALSE(start.IsValid());
    EXPECT_STREQ(start.Translate(), "Starten");
    EXPECT_STREQ(start.Translate(), "Starten");
    EXPECT_EQ(dictionary.calls, 1) << "the second call is served from the cache";

    dictionary.texts["Start"] = "Los";
    EXPECT_STREQ(start.Translate(), "Starten");
    EXPECT_EQ(TCTranslated::GetMessage(23, 0), 0);
    EXPECT_STREQ(start.Translate(), "Los");
    EXPECT_STREQ(copy.Translate(), "Los");

    start = "Stop";
    EXPECT_STREQ(start.Translate(), "Stop");
    EXPECT_STREQ(start.GetSource(), "Stop");
    copy.Copy(start);
    int calls = dictionary.calls;
    EXPECT_STREQ(copy.Translate(), "Stop");
    EXPECT_EQ(dictionary.calls, calls);

    // A source changed behind the object's back is noticed only when checking is on.
    start.GetSourceBuffer() = "Start";
    EXPECT_STREQ(start.Translate(), "Stop");
    TCTranslated::CheckHiddenChanges(true);
    EXPECT_STREQ(start.Translate(), "Los");
}

TEST_F(Translation, MultilineTextsAreTranslatedLineByLine)
{
    TestTranslator& translator = TestTranslator::Install(2, 1);
    translator.Dictionary(0).texts = {{"A", "a"}, {"B", "b"}, {"A\r\nB", "whole"}, {"", "-"}};
    const struct { const char *input, *lines, *single; } cases[] = {
        {"A\r\nB", "a\r\nb\r\n", "whole"},
        {"A\r\nB\r\n", "a\r\nb\r\n", "A\r\nB\r\n"},
        {"A\r\n\r\nC", "a\r\n-\r\nC\r\n", "A\r\n\r\nC"},
        {"A\nB", "A\nB\r\n", "A\nB"},
        {"", "", "-"},
    };
    for (const auto& c : cases) {
        TCTranslatedMultilineString text(c.input);
        EXPECT_STREQ(text.Translate(), c.lines) << c.input;
        text.SetTranslatedBySingleCall(true);
        EXPECT_STREQ(text.Translate(), c.single) << c.input;
        TCTranslatedMultilineString copy(text);
        EXPECT_TRUE(copy.IsTranslatedBySingleCall());
        text.SetTranslatedBySingleCall(false);
        EXPECT_STREQ(text.Translate(), c.lines) << c.input;
    }
}

TEST_F(Translation, TracesGoToTheDebuggerOutputAndAsDebugMessages)
{
    TestTranslator& translator = TestTranslator::Install(2, 1);
    translator.Dictionary(0).texts = {{"A", "a"}};
    translator.Dictionary(0).faces = {{"Tahoma", "Arial"}};
    TCDebugOutputSink previous = TCSetDebugOutputSink(&CaptureDebugOutput);
    DebugOutput.clear();
    TCTranslated::ShowTraces(true);
    TCTranslatedString("A").Translate();
    TCTranslatedMultilineString("A\r\nA").Translate();
    TCTranslatedFont(Face("Tahoma")).Translate();
    TCTranslated::GetMessage(23, 0);
    TCTranslated::ShowTraces(false);
    TCSetDebugOutputSink(previous);

    EXPECT_EQ(DebugOutput, "TranslateString: 'A' -> 'a'\n"
                           "TCTranslatedMultilineString: 'A\r\nA' -> 'a\r\na\r\n'\n"
                           "TranslateFont: 'Tahoma/-13' -> 'Arial/-13'\n"
                           "Translated: LanguageChanged\n");
    EXPECT_EQ(TestMessages::Take(),
              (std::vector<std::string>{"TCTranslatedString|64|TranslateString: 'A' -> 'a'\n",
                                        "TCTranslatedMultilineString|64|TCTranslatedMultilineString: "
                                        "'A\r\nA' -> 'a\r\na\r\n'\n",
                                        "TCTranslatedFont|64|TranslateFont: 'Tahoma/-13' -> 'Arial/-13'\n",
                                        "TCTranslated|64|LanguageChanged"}));
}

TEST_F(Translation, FontsAndTheFontCache)
{
    TestTranslator& translator = TestTranslator::Install(2, 1);
    TestDictionary& dictionary = translator.Dictionary(0);
    dictionary.faces = {{"Tahoma", "Arial"}};
    TCTranslatedFont font(Face("Tahoma"));
    TCLogFont result;
    EXPECT_STREQ(font.Translate(result).lfFaceName, "Arial");
    EXPECT_STREQ(result.lfFaceName, "Arial");
    dictionary.faces["Tahoma"] = "Verdana";
    EXPECT_STREQ(font.Translate().lfFaceName, "Arial");
    TCTranslated::GetMessage(23, 0);
    EXPECT_STREQ(font.Translate().lfFaceName, "Verdana");

    TCTranslatedFontCache& cache = TCTranslatedFontCache::Instance();
    int size = cache.GetSize();
    EXPECT_EQ(cache.Add(Face("Tahoma")), 1);
    EXPECT_EQ(cache.Add(Face("Tahoma")), 2);
    EXPECT_EQ(cache.Add(Face("Courier")), 1);
    EXPECT_EQ(cache.GetSize(), size + 2);
    int calls = dictionary.calls;
    EXPECT_STREQ(cache.Translate(Face("Tahoma")).lfFaceName, "Verdana");
    EXPECT_STREQ(cache.Translate(Face("Tahoma")).lfFaceName, "Verdana");
    EXPECT_EQ(dictionary.calls, calls + 1);
    EXPECT_STREQ(cache.Translate(Face("Unknown")).lfFaceName, "Unknown");
    EXPECT_TRUE(cache.Del(Face("Tahoma")));
    EXPECT_TRUE(cache.Del(Face("Tahoma")));
    EXPECT_FALSE(cache.Del(Face("Tahoma")));
    EXPECT_TRUE(cache.Del(Face("Courier")));
    EXPECT_EQ(cache.GetSize(), size);
}

// Language changes reach every object while other threads translate the same objects:
// each translation is of one language or the other, and after the last change every
// object gives the last language. Run under ThreadSanitizer as well.
TEST_F(Translation, LanguageChangesWhileOtherThreadsTranslate)
{
    TestTranslator& german = TestTranslator::Install(2, 1);
    german.Dictionary(0).texts = {{"Start", "Starten"}, {"A", "a"}, {"B", "b"}};
    german.Dictionary(0).faces = {{"Tahoma", "Arial"}};
    TestTranslator& french = TestTranslator::Install(2, 1);
    french.Dictionary(0).texts = {{"Start", "Demarrer"}, {"A", "x"}, {"B", "y"}};
    french.Dictionary(0).faces = {{"Tahoma", "Verdana"}};

    TCTranslatedString start("Start");
    TCTranslatedMultilineString lines("A\r\nB");
    TCTranslatedFont font(Face("Tahoma"));
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    auto either = [](const std::string& v, const char* a, const char* b) { return v == a || v == b; };
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            while (!stop) {
                TCTranslatedString local(t == 0 ? "Start" : "A");
                const std::string l(lines.Translate());
                // A translator installed between two lines may leave lines of both languages.
                bad += !(either(start.Translate().operator const char*(), "Starten", "Demarrer") && l.size() == 6 &&
                         either(l.substr(0, 3), "a\r\n", "x\r\n") && either(l.substr(3), "b\r\n", "y\r\n") &&
                         either(font.Translate().lfFaceName, "Arial", "Verdana") &&
                         either(local.Translate().operator const char*(), t ? "a" : "Starten", t ? "x" : "Demarrer"));
            }
        });
    for (int i = 0; i < 200; ++i) {
        TCTranslated::GetMessage(22, reinterpret_cast<long>((i % 2 ? german : french).Record()));
        TCTranslated::GetMessage(23, 0);
    }
    stop = true;
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(bad, 0);
    // The last change installed the German dictionary.
    EXPECT_STREQ(start.Translate(), "Starten");
    EXPECT_STREQ(lines.Translate(), "a\r\nb\r\n");
    EXPECT_STREQ(font.Translate().lfFaceName, "Arial");
}

}  // namespace
