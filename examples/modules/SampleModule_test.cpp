// The sample modules' property dialogs shown to the library's dialog host: the generator's
// dialog as text, and edits of every module's settings accepted or refused.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CsvWriter.h"
#include "Gain.h"
#include "Generator.h"
#include "SampleDialog_test.h"
#include "Statistics.h"
#include "SvgPlot.h"

namespace {

using Shown = sample_test::ShownDialog;

template <class M>
std::unique_ptr<TCBaseModule> Make()
{
    return std::make_unique<M>(0);
}

TEST(SampleModule, TheGeneratorsDialog)
{
    Generator g(0);
    const Shown shown(g, {});
    EXPECT_EQ(shown.result, 1);
    EXPECT_STREQ(shown.host.GetText(),
                 "0 45 \"Waveform\" value=\"sine\" flags=read-only enabled=1\n"
                 "1 4 \"Rate\" value=1000 min=0.001 max=1e+09 flags=range-check enabled=1\n"
                 "2 4 \"Amplitude\" value=1 min=0 max=1e+09 flags=range-check enabled=1\n"
                 "3 4 \"Frequency\" value=10 min=0 max=1e+09 flags=range-check callbacks=IsEnabled enabled=1\n"
                 "4 3 \"Block size\" value=100 min=1 max=1048576 flags=range-check enabled=1\n"
                 "5 3 \"Block count\" value=10 min=0 flags=range-check enabled=1\n"
                 "6 24 \"Signal name\" value=\"Signal\" enabled=1\n"
                 "7 24 \"Unit\" value=\"V\" callbacks=Callback enabled=1\n"
                 "8 3 \"Seed\" value=1 callbacks=IsEnabled enabled=0\n");
}

// After OK the item's line shows the value, which is the module's setting; a refused edit
// leaves the dialog as it was shown first.
TEST(SampleModule, EditsOfEverySettingThroughTheDialogHost)
{
    const struct {
        std::unique_ptr<TCBaseModule> (*make)();
        std::vector<const char*> edits;
        const char* expected;  // OK: a line of the text afterwards; refused: a part of the reason
        bool ok;
    } rows[] = {
        {Make<Generator>, {"Waveform = noise", "Seed = 7"}, "8 3 \"Seed\" value=7 callbacks=IsEnabled enabled=1\n", 1},
        {Make<Generator>, {"Waveform = RAMP"}, "\"RAMP\" is none of the entries", 0},
        {Make<Generator>, {"Seed = 7"}, "\"Seed\" is disabled", 0},
        {Make<Generator>, {"Waveform = noise", "Frequency = 3"}, "\"Frequency\" is disabled", 0},
        {Make<Generator>, {"Rate = 0"}, "value 0 is outside 0.001 .. 1000000000", 0},
        {Make<Generator>, {"Block count = 0", "Signal name = \"Ramp, slow\""},
         "6 24 \"Signal name\" value=\"Ramp, slow\" enabled=1\n", 1},
        {Make<Gain>, {"Factor = 0.25"},
         "0 4 \"Factor\" value=0.25 min=@-1e+06 max=@1e+06 flags=range-check enabled=1\n", 1},
        {Make<Gain>, {"Factor = 5", "Minimum = 2", "Maximum = 5"},
         "1 4 \"Minimum\" value=2 max=@5 flags=range-check enabled=1\n", 1},
        {Make<Gain>, {"Minimum = 2"}, "value 2 is outside", 0},
        {Make<Gain>, {"Maximum = 0.5"}, "value 0.5 is outside 1 ..", 0},
        {Make<Statistics>, {"Report packets = No"}, "0 14 \"Report packets\" value=0 (\"No\") flags=read-only enabled=1\n",
         1},
        {Make<Statistics>, {"Report packets = 2"}, "\"2\" is none of the 2 entries", 0},
        {Make<CsvWriter>, {"File name = out.csv", "Digits = 17"}, "1 21 \"Digits\" value=17 min=1 max=17", 1},
        {Make<CsvWriter>, {"File name = \"\""}, "length 0 is outside 1 ..", 0},
        {Make<CsvWriter>, {"Digits = 0"}, "outside 1 .. 17", 0},
        {Make<SvgPlot>, {"Width = 4000", "Height = 150"}, "2 3 \"Height\" value=150 min=150 max=3000", 1},
        {Make<SvgPlot>, {"Width = 199"}, "outside 200 .. 4000", 0},
    };
    for (const auto& row : rows) {
        const std::string edits = std::string(row.edits[0]) + (row.edits.size() > 1 ? ", ..." : "");
        const std::unique_ptr<TCBaseModule> module = row.make();
        const std::string before = static_cast<const char*>(Shown(*module, {}).host.GetText());
        const Shown shown(*module, row.edits);
        EXPECT_EQ(shown.result, row.ok ? 1 : 2) << edits;
        const std::string text = static_cast<const char*>(shown.host.GetText());
        const std::string error = static_cast<const char*>(shown.host.GetError());
        EXPECT_NE((row.ok ? text : error).find(row.expected), std::string::npos) << edits << "\n" << text << error;
        if (!row.ok) {
            EXPECT_EQ(text, before) << edits;
        }
        EXPECT_EQ(static_cast<const char*>(Shown(*module, {}).host.GetText()), text) << edits;
    }
    Generator g(0);
    const Shown unit(g, {"Unit = furlong"});
    EXPECT_EQ(unit.result, 1);
    EXPECT_STREQ(unit.host.GetMessages(), "error: Unit: 'furlong' is not a unit text\n");
}

}  // namespace
