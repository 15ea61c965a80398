// The port helper's run: data at the inputs, trigger groups, wiring checks, source modules.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelper_test.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using namespace port_helper_test;

bool TriggerModel(unsigned inputs, const std::vector<std::vector<unsigned>>& groups,
                  const std::set<unsigned>& connected, const std::set<unsigned>& holding)
{
    std::set<unsigned> grouped;
    for (const auto& g : groups) {
        std::set<unsigned> wired;
        for (unsigned i : g)
            if (i < inputs) {
                grouped.insert(i);
                if (connected.count(i))
                    wired.insert(i);
            }
        bool all = !wired.empty();
        for (unsigned i : wired)
            all = all && holding.count(i);
        if (all)
            return true;
    }
    for (unsigned i : holding)
        if (groups.empty() || !grouped.count(i))
            return true;
    return false;
}

TEST(TCPortHelper, TriggerDataAvailFollowsTheGroupRule)
{
    std::mt19937 rng(1405);
    for (int round = 0; round < 400; ++round) {
        const unsigned n = 1 + rng() % 5;
        Rig rig(n);
        std::vector<std::vector<unsigned>> groups(rng() % 4);
        for (auto& g : groups) {
            g.resize(1 + rng() % 3);
            for (unsigned& i : g)
                i = rng() % (n + 1);  // sometimes beyond the inputs
            rig.h.SetTriggerInputs(g.data(), unsigned(g.size()));
        }
        std::set<unsigned> connected, holding;
        for (unsigned i = 0; i < n; ++i) {
            if (rng() % 4 == 0)
                continue;
            connected.insert(i);
            rig.Connect(i);
            const unsigned blocks = rng() % 3;
            for (unsigned b = 0; b < blocks; ++b)
                rig.Feed(i, {1.0});
            if (blocks)
                holding.insert(i);
        }
        EXPECT_EQ(rig.h.TriggerDataAvail(), TriggerModel(n, groups, connected, holding)) << "round " << round;
        EXPECT_EQ(rig.h.Fetch(), TriggerModel(n, groups, connected, holding) ? 0 : 1);
    }
}

TEST(TCPortHelper, AGroupWaitsForAllItsConnectedInputs)
{
    Rig rig(3);
    rig.h.SetTriggerInputs(0u, 1u);
    for (unsigned i = 0; i < 3; ++i)
        rig.Connect(i);
    rig.Feed(0, {1});
    EXPECT_FALSE(rig.h.TriggerDataAvail());
    rig.Feed(2, {1});
    EXPECT_TRUE(rig.h.TriggerDataAvail());
    rig.h.ClearTriggerInputs();
    EXPECT_TRUE(rig.h.TriggerDataAvail());
}

TEST(TCPortHelper, ReadTriggerConsumesAndJudgesBlocks)
{
    Rig rig(2);
    rig.Connect(0);
    EXPECT_EQ(rig.h.ReadTrigger(0, false), 0);
    EXPECT_EQ(rig.h.ReadTrigger(5, false), 0);
    EXPECT_EQ(rig.h.NotWiredOrTrigger(1, false), 1);
    rig.Feed(0, {0.0});
    rig.Feed(0, {2.0});
    EXPECT_EQ(rig.h.ReadTrigger(0, false), 0);  // the zero
    EXPECT_EQ(rig.h.BlocksOnStream(PT_INPUT, 0), 1);
    EXPECT_EQ(rig.h.ReadTrigger(0, false), 1);
    const int zero[] = {0};
    const TCString empty[] = {TCString()};
    const TCString word[] = {TCString("x")};
    rig.sources[0]->WriteIntVec(zero, 1);
    rig.sources[0]->WriteStrVec(empty, 1);
    EXPECT_EQ(rig.h.ReadTrigger(0, true), 0);
    rig.sources[0]->WriteStrVec(word, 1);
    rig.sources[0]->WriteIntVec(zero, 1);
    EXPECT_EQ(rig.h.NotWiredOrTrigger(0, true), 1);
    EXPECT_EQ(rig.h.BlocksOnStream(PT_INPUT, 0), 0);
    EXPECT_EQ(rig.h.BlocksOnStream(PORTTYPE(3), 0), 0);
}

TEST(TCPortHelper, RemoveBlocksCountsWhatItTook)
{
    const struct {
        int queued, n, removed;
    } cases[] = {{5, 0, 5}, {5, 2, 2}, {5, 9, 5}, {5, -2, 3}, {5, -7, 0}, {0, 3, 0}};
    for (const auto& c : cases) {
        Rig rig(1);
        rig.Connect(0);
        for (int b = 0; b < c.queued; ++b)
            rig.Feed(0, {1});
        EXPECT_EQ(rig.h.RemoveBlocks(0, c.n), c.removed) << c.queued << " " << c.n;
        EXPECT_EQ(rig.h.BlocksOnStream(PT_INPUT, 0), c.queued - c.removed);
    }
}

TEST(TCPortHelper, DataAvailDescribesTheFirstBlock)
{
    Rig rig(2);
    TCBLOCKSTATUS status = TCBS_BUSY;
    unsigned blocks = 7, values = 7, size = 7;
    EXPECT_FALSE(rig.h.DataAvail(0, &status, &blocks, &values, &size));
    EXPECT_EQ(status, TCBS_INVALID);
    EXPECT_EQ(blocks + values + size, 0u);
    rig.Connect(0);
    rig.Feed(0, {1, 2, 3}, 0, TCBS_START);
    rig.Feed(0, {1});
    EXPECT_TRUE(rig.h.DataAvail(0, &status, &blocks, &values, &size));
    EXPECT_EQ(status, TCBS_START);
    EXPECT_EQ(blocks, 2u);
    EXPECT_EQ(values, 3u);
    EXPECT_EQ(size, 8u);
    rig.h.ChangeType(PT_INPUT, 0, "DOUBLE", nullptr, true);  // one value however long
    EXPECT_TRUE(rig.h.DataAvail(0, nullptr, nullptr, &values, nullptr));
    EXPECT_EQ(values, 1u);
}

TEST(TCPortHelper, SynchronousInputsAreCompared)
{
    const struct {
        const char* what;
        int checks;
        std::vector<double> second;
        double rate;
        TCBLOCKSTATUS state;
        int extraBlocks;
        const char* unit;
        int result;
    } cases[] = {
        {"agree", 31, {1, 2}, 10, TCBS_BUSY, 0, "V", 1},
        {"value counts", 4, {1}, 10, TCBS_BUSY, 0, "V", -5},
        {"statuses", 1, {1, 2}, 10, TCBS_STOP, 0, "V", -13},
        {"block counts", 2, {1, 2}, 10, TCBS_BUSY, 1, "V", -12},
        {"sample rates", 8, {1, 2}, 20, TCBS_BUSY, 0, "V", -15},
        {"units", 16, {1, 2}, 10, TCBS_BUSY, 0, "A", -6},
        {"value counts first", 31, {1}, 20, TCBS_STOP, 1, "A", -5},
        {"unchecked differences", 0, {1}, 20, TCBS_STOP, 1, "A", 1},
    };
    for (const auto& c : cases) {
        Rig rig(3);
        rig.Connect(0);
        rig.Connect(1);
        rig.Feed(0, {1, 2}, 10, TCBS_BUSY, "V");
        rig.Feed(1, c.second, c.rate, c.state, c.unit);
        for (int b = 0; b < c.extraBlocks; ++b)
            rig.Feed(1, c.second, c.rate, c.state, c.unit);
        EXPECT_EQ(rig.h.SynchronousDataAvail(0u, 3u, c.checks), c.result) << c.what;
        if (c.result < 0) {
            EXPECT_EQ(rig.h.GetErrMsg().code, c.result);
            EXPECT_EQ(rig.h.GetErrMsg().port, 0);
            EXPECT_EQ(rig.h.GetErrMsg().second, 1);
        }
    }
    Rig rig(2);
    const unsigned none[] = {0, 1};
    EXPECT_EQ(rig.h.SynchronousDataAvail(none, 2, 31), 0);
    EXPECT_EQ(rig.h.GetErrMsg().port, -1);  // no error
    EXPECT_EQ(rig.h.SynchronousDataAvail(nullptr, 0, 31), 0);
    const unsigned beyond[] = {0, 4};
    rig.Connect(0);
    rig.Feed(0, {1});
    EXPECT_EQ(rig.h.SynchronousDataAvail(beyond, 2, 31), 0);
    EXPECT_EQ(rig.h.SynchronousDataAvail(0u, 1u, 31), 1);
    Rig plain(1, "DOUBLE[]", false);  // without type information: not synchronous data
    plain.Connect(0);
    plain.Feed(0, {1});
    EXPECT_EQ(plain.h.SynchronousDataAvail(0u, 1u, 31), 0);
}

TEST(TCPortHelper, WiringChecksNameTheInputAtFault)
{
    Rig rig(4);
    rig.h.SetObligatoryInput(2);
    rig.Connect(0);
    rig.Connect(1);
    EXPECT_EQ(rig.h.Init(), -3);
    EXPECT_FALSE(rig.h.ReadyToExecute());
    const ERR_MSG& e = rig.h.GetErrMsg();
    EXPECT_EQ(e.code, -3);
    EXPECT_EQ(e.port, 2);
    EXPECT_STREQ(rig.h.GetPortName(PT_INPUT, unsigned(e.port)), "In2");
    rig.h.GetMessageA(38, 0);
    EXPECT_EQ(rig.h.Init(), 0);
    EXPECT_TRUE(rig.h.ReadyToExecute());
    rig.h.GetMessageA(38, 1);
    rig.Connect(2);
    EXPECT_EQ(rig.h.Init(), 0);

    const unsigned list[] = {3, 2};
    const unsigned far[] = {3, 9};
    const struct {
        const char* what;
        int result;
        int port;
    } cases[] = {
        {"wired needs wired", rig.h.CheckWired(0, 1), -1},
        {"wired needs unwired", rig.h.CheckWired(0, 3), 3},
        {"unwired needs nothing", rig.h.CheckWired(3, 0), -1},
        {"any of list", rig.h.CheckWired(0, list, 2, H::CP_ANY), -1},
        {"all of list", rig.h.CheckWired(0, list, 2, H::CP_ALL), 3},
        {"list beyond the inputs", rig.h.CheckWired(0, far, 2, H::CP_ALL), -1},
        {"both wired", rig.h.CheckAllOrNoneWired(0, 1), -1},
        {"one wired", rig.h.CheckAllOrNoneWired(3, 1), 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, c.port < 0 ? 0 : -3) << c.what;
    }
    EXPECT_EQ(rig.h.CheckAllOrNoneWired(1, 3), -3);
    EXPECT_EQ(e.port, 3);
}

// A module type 1 (source) as Fetch sees it.
struct Source : TCBaseModule {
    Source() : TCBaseModule(0) { m_pPortHelper = new TCPortHelper(this); }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    int GetTypeOfModule() override { return 1; }
    const char* GetModuleTypeName() override { return "Gen"; }
    TCPortHelper& Helper() { return *m_pPortHelper; }
};

TEST(TCPortHelper, SourceModulesRunAsTheirBehaviourSays)
{
    const struct {
        TCPortHelper::SourceBehaviour behaviour;
        int ready, cleared, after;
    } cases[] = {
        {TCPortHelper::SB_NONE, 1, 1, 1},
        {TCPortHelper::SB_WHILE_READY, 0, 1, 1},
        {TCPortHelper::SB_ONCE, 0, 2, 1},
    };
    for (const auto& c : cases) {
        Source m;
        m.Helper().BehaviourAsSource(c.behaviour);
        TCModuleHarness host(m);
        ASSERT_EQ(host.Start(), 0);
        EXPECT_EQ(host.Cycle(), c.ready) << c.behaviour;
        m.Helper().SetReadyFlag(false);
        EXPECT_EQ(host.Cycle(), c.cleared) << c.behaviour;
        EXPECT_EQ(host.Cycle(), c.after) << c.behaviour;
    }
}

TEST(TCPortHelper, ASourceKeepsItsSynchronisationTimeWhenTheGraphStarts)
{
    Source m;
    TCModuleHarness host(m);
    double start = 99;
    host.Message(7, reinterpret_cast<long>(&start));
    ASSERT_EQ(host.Start(), 0);  // Init reads the module type, a source, before 44/5
    EXPECT_EQ(m.Helper().SyncTime(), 99);
}

}  // namespace
