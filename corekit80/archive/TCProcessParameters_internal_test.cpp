// Random edits of parameter texts against a new parse of the edited text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>

#include "corekit80/archive/TCProcessParametersImpl.h"

namespace {

using PP = TCProcessParameters;
using Impl = PP::TCProcessParamsImpl;

struct Syntax {
    bool unquote;
    const char* delimiters;
    const char* splitStrings;
    const char* comments;
};

void ExpectSame(const Impl& got, const Impl& parsed, const std::string& trace)
{
    ASSERT_EQ(got.params.size(), parsed.params.size()) << trace;
    for (size_t i = 0; i < got.params.size(); ++i) {
        const Impl::Param& a = got.params[i];
        const Impl::Param& b = parsed.params[i];
        EXPECT_EQ(std::tie(a.section, a.nameStart, a.nameEnd, a.valueStart, a.valueEnd, a.type, a.intValue),
                  std::tie(b.section, b.nameStart, b.nameEnd, b.valueStart, b.valueEnd, b.type, b.intValue))
            << trace << "\nparameter " << i;
        EXPECT_TRUE(a.name == b.name && a.value.CompareBin(b.value) == 0 && a.dblValue == b.dblValue)
            << trace << "\nparameter " << i;
    }
    ASSERT_EQ(got.sections.size(), parsed.sections.size()) << trace;
    for (size_t s = 0; s < got.sections.size(); ++s) {
        const Impl::Section& a = got.sections[s];
        const Impl::Section& b = parsed.sections[s];
        EXPECT_TRUE(a.start == b.start && a.end == b.end && a.name == b.name) << trace << "\nsection " << s;
    }
}

// Texts and edits keep to what parses back as written: names and strings start with a
// letter no number starts with, strings with a delimiter inside hold a quote only when
// unquoting reads its escape, and hold no backslash then.
TEST(TCProcessParamsImpl, EditsMatchNewParse)
{
    const Syntax syntaxes[] = {{false, nullptr, "=", "#;"}, {true, "\n;", ":=", "#"}};
    const char* sections[] = {"", "A", "B", "S 1"};
    std::mt19937 rng(25);
    for (const Syntax& syntax : syntaxes) {
        auto make = [&] {
            PP p(syntax.unquote, false, nullptr, syntax.delimiters, syntax.splitStrings, syntax.comments);
            if (!syntax.delimiters)
                p.AddParamDelimiter("\r\n");
            return p;
        };
        const std::string delimiter = syntax.delimiters ? "\n" : "\r\n";
        const std::string split(1, syntax.splitStrings[0]);
        auto pick = [&](const std::string& from) { return from[rng() % from.size()]; };
        auto name = [&] { return std::string(1, pick("abxyz")) + (rng() % 2 ? "" : std::string(1, pick("a1_ "))); };
        auto string = [&] {
            std::string s(1, pick("abcdfgkmz"));
            for (int k = int(rng() % 8); k > 0; --k)
                s += rng() % 6 ? std::string(1, pick("ab =#;:[]'\"\r\n")) : delimiter;
            if (!syntax.unquote && s.find(delimiter) != std::string::npos)
                std::replace(s.begin(), s.end(), '"', '\'');
            return s;
        };
        for (int round = 0; round < 60; ++round) {
            std::string text;
            for (int line = int(rng() % 12); line > 0; --line) {
                switch (rng() % 6) {
                case 0: text += "# " + name(); break;
                case 1: text += std::string("[") + sections[rng() % 4] + "]"; break;
                case 2: text += name(); break;
                case 3: text += name() + split + std::to_string(int(rng() % 2000) - 1000); break;
                case 4: text += name() + split + "\"" + name() + delimiter + "\""; break;
                default: text += name() + split + string().substr(0, 1) + "x"; break;
                }
                if (line > 1 || rng() % 2)
                    text += delimiter;
            }
            PP edited = make();
            ASSERT_GE(edited.ParseParamString(text.c_str()), 0) << edited.GetErrorText() << "\n" << text;
            std::string trace = text;
            for (int step = 0; step < 30; ++step) {
                const int i = int(rng() % (edited.GetParamCount() + 1));
                switch (rng() % 8) {
                case 0: edited.SetParamValInt(i, int(rng())); break;
                case 1:
                    edited.SetParamValDbl(i, int(rng() % 100000) / 64.0 - 500, StringFormat(rng() % 4), int(rng() % 8));
                    break;
                case 2: edited.SetParamValStr(i, string().c_str()); break;
                case 3: edited.ClearParamVal(i); break;
                case 4: case 5: edited.InsertParameter(name().c_str(), sections[rng() % 4], rng() % 2); break;
                case 6: edited.DeleteParameter(i); break;
                default: edited.DeleteSection(sections[rng() % 4]); break;
                }
                trace += "\n-> " + std::string(edited.BuildParamString());
                PP parsed = make();
                ASSERT_EQ(parsed.ParseParamString(edited.BuildParamString()), edited.GetParamCount())
                    << parsed.GetErrorText() << "\n" << trace;
                ExpectSame(*Impl::Of(edited), *Impl::Of(parsed), trace);
                if (HasFailure())
                    return;
            }
        }
    }
}

} // namespace
