// The inputs of external parameters: making them, selecting one, Init, triggering and reading.
#include <gtest/gtest.h>

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelper_test.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using namespace port_helper_test;

TEST(TCPortHelperExtPar, TheInputsAreMadeAndDescribeTheirSelection)
{
    TCPortHelper h(nullptr);
    EXPECT_EQ(h.GetExtPar(), nullptr);
    TCExtPar* ext = h.UseExtPar();
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(h.GetExtPar(), ext);
    EXPECT_EQ(h.GetPortCnt(PT_INPUT), 1);
    EXPECT_STREQ(h.GetPortName(PT_INPUT, 0), "EXT");
    EXPECT_EQ(h.DataType(PT_INPUT, 0, nullptr), (unsigned long)(TCPortHelper::DT_MULTITYPE));
    EXPECT_EQ(h.UseExtPar(), ext);  // kept, emptied
    h.AddLine(PT_INPUT, 0);
    EXPECT_EQ(h.ComputeValidationData(CF_HOST, true), 1);
    EXPECT_STREQ(h.GetPortType(PT_INPUT, 0, nullptr), "NULL{no_parameters}");

    int selector = 2;
    EXPECT_EQ(h.UseExtPar(&selector), ext);
    EXPECT_STREQ(h.GetPortName(PT_INPUT, 1), "DB");
    h.AddLine(PT_INPUT, 1);
    EXPECT_EQ(h.ComputeValidationData(CF_HOST, true), 1);
    EXPECT_STREQ(h.GetPortType(PT_INPUT, 0, nullptr), "NULL{not_selected}");
    EXPECT_STREQ(h.GetPortType(PT_INPUT, 1, nullptr), "NULL{no_parameters}");
    // Message 45 refuses while no parameter is declared.
    EXPECT_EQ(h.GetMessageA(45, 1), -1);
    EXPECT_EQ(selector, 2);
    EXPECT_EQ(h.SetExtPar(nullptr), nullptr);
    EXPECT_EQ(h.GetExtPar(), nullptr);
}

TEST(TCPortHelperExtPar, Message45SetsTheSelectorVariable)
{
    TCPortHelper h(nullptr);
    EXPECT_EQ(h.GetMessageA(45, 1), -1);  // no selector variable
    int selector = 0;
    h.SetExtParVar(&selector);
    const struct {
        long param;
        long result;
        int selector;
    } cases[] = {{1, 1, 1}, {2, 1, 2}, {0, 1, 0}, {3, -1, 0}, {-1, -1, 0}, {0x100000002L, -1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(h.GetMessageA(45, c.param), c.result) << c.param;
        EXPECT_EQ(selector, c.selector) << c.param;
    }
}

// Init refuses a module whose selected input of external parameters has no line while the
// wiring checks are on, and one whose input 0 takes no external parameters at all.
TEST(TCPortHelperExtPar, InitNamesTheMissingInput)
{
    const struct {
        const char* what;
        bool checks;
        int selector;     // 0: no selector variable
        int linesExt, linesDb;
        bool declaredFirst;  // input 0 was declared otherwise before
        int result, port;
    } cases[] = {
        {"EXT without line", true, 0, 0, 0, false, -3, 0},
        {"EXT with line", true, 0, 1, 0, false, 0, -1},
        {"checks off", false, 0, 0, 0, false, 0, -1},
        {"input 0 no EXT", false, 0, 1, 0, true, -3, 0},
        {"DB selected without line", true, 2, 1, 0, false, -3, 1},
        {"DB selected with line", true, 2, 0, 1, false, 0, -1},
        {"EXT selected, DB unwired", true, 1, 1, 0, false, 0, -1},
        {"nothing selected", true, 0 + 3, 0, 0, false, 0, -1},
    };
    for (const auto& c : cases) {
        TCPortHelper h(nullptr);
        if (c.declaredFirst)
            h.SetPort(PT_INPUT, 0, "EXT", TCPortHelper::DT_SWORD);
        int selector = c.selector;
        if (c.selector)
            h.UseExtPar(&selector);
        else
            h.UseExtPar();
        for (int k = 0; k < c.linesExt; ++k)
            h.AddLine(PT_INPUT, 0);
        for (int k = 0; k < c.linesDb; ++k)
            h.AddLine(PT_INPUT, 1);
        h.GetMessageA(38, c.checks ? 1 : 0);
        EXPECT_EQ(h.Init(), c.result) << c.what;
        EXPECT_EQ(h.GetErrMsg().port, c.port) << c.what;
        EXPECT_EQ(h.GetErrMsg().code, c.result) << c.what;
    }
}

TEST(TCPortHelperExtPar, ABlockAtTheSelectedInputTriggers)
{
    Rig rig(0);
    int selector = 2;
    rig.h.UseExtPar(&selector);
    rig.h.SetPort(PT_INPUT, 2, "In", TCPortHelper::DT_DOUBLE_ARRAY);
    rig.h.SetTriggerInputs(0u, 2u);  // a group that cannot fire alone
    rig.h.SetTriggerInputs(1u, 2u);
    TCIOStream ext, db, in;
    ext.AddOutputStream(static_cast<TCIOStream*>(rig.h.SetInputStream(0, 0, 3)));
    db.AddOutputStream(static_cast<TCIOStream*>(rig.h.SetInputStream(1, 0, 3)));
    in.AddOutputStream(static_cast<TCIOStream*>(rig.h.SetInputStream(2, 0, 3)));
    const double v = 1;
    ext.WriteDblVec(&v, 1);
    EXPECT_FALSE(rig.h.TriggerDataAvail());  // EXT is not the selected input
    db.WriteDblVec(&v, 1);
    EXPECT_TRUE(rig.h.TriggerDataAvail());
    selector = 3;
    EXPECT_FALSE(rig.h.TriggerDataAvail());
    rig.h.DeleteStreams();
    for (TCIOStream* s : {&ext, &db, &in})
        s->DeleteStreams();
}

// ReadExtParam reads the selected input only; a failing read is recorded at that input.
TEST(TCPortHelperExtPar, TheSelectedInputIsRead)
{
    const struct {
        int selector;
        bool atExt, atDb;
        bool asDouble;  // a segment of the wrong type
        bool avail;
        int result, value, errPort;
    } rows[] = {
        {1, true, true, false, true, 1, 11, -1},  {2, true, true, false, true, 1, 22, -1},
        {2, true, false, false, false, 0, 0, -1}, {1, false, true, false, false, 0, 0, -1},
        {0, true, true, false, false, 0, 0, -1},  {3, true, true, false, false, 0, 0, -1},
        {1, true, false, true, true, -2, 0, 0},   {2, false, true, true, true, -2, 0, 1},
    };
    for (const auto& row : rows) {
        TCPortHelper h(nullptr);
        int selector = row.selector;
        int n = 0;
        h.UseExtPar(&selector)->AddParam("N", n, "", "");
        TCIOStream sources[2];
        for (unsigned i = 0; i < 2; ++i) {
            sources[i].AddOutputStream(static_cast<TCIOStream*>(h.SetInputStream(i, 0, 3)));
            if (!(i == 0 ? row.atExt : row.atDb))
                continue;
            ASSERT_GE(sources[i].StartWriteSegments(), 0);
            if (row.asDouble)
                sources[i].WriteSegment("N", 1.0);
            else
                sources[i].WriteSegment("N", int(11 * (i + 1)));
            ASSERT_TRUE(sources[i].EndWriteSegments());
        }
        EXPECT_EQ(h.IsExtParamsAvail(), row.avail) << row.selector;
        EXPECT_EQ(h.ReadExtParam(), row.result) << row.selector;
        EXPECT_EQ(n, row.value) << row.selector;
        EXPECT_EQ(h.GetErrMsg().port, row.errPort) << row.selector;
        h.DeleteStreams();
        for (TCIOStream& s : sources)
            s.DeleteStreams();
    }
    TCPortHelper none(nullptr);
    EXPECT_FALSE(none.IsExtParamsAvail());
    EXPECT_EQ(none.ReadExtParam(), 0);
}

}  // namespace
