// The port helper: declaring ports, names, wiring, data at the inputs, dynamic ports.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using H = TCPortHelper;

const char* NameOf(PORTTYPE type, unsigned port)
{
    static std::string name;
    name = (type == PT_INPUT ? "In" : "Out") + std::to_string(port);
    return name.c_str();
}

// A helper with n inputs of one type; sources[i] feeds input i once connected.
struct Rig {
    explicit Rig(unsigned n, const char* base = "DOUBLE[]", bool typeInfo = true) : h(nullptr), sources(n)
    {
        if (n)
            h.SetPortRange(PT_INPUT, 0, n, &NameOf, base, nullptr, typeInfo);
        for (auto& s : sources)
            s = std::make_unique<TCIOStream>();
    }
    ~Rig()
    {
        for (auto& s : sources)
            s->DeleteStreams();
        h.DeleteStreams();
    }
    void Connect(unsigned i)
    {
        sources[i]->AddOutputStream(static_cast<TCIOStream*>(h.SetInputStream(i, 0, 3)));
    }
    void Feed(unsigned i, std::vector<double> v, double rate = 0, TCBLOCKSTATUS state = TCBS_BUSY,
              const char* unit = "")
    {
        TCTypeInfo ti;
        ti.Samplerate = rate;
        ti.State = state;
        EXPECT_TRUE(ti.Unit.FromString(unit));
        sources[i]->SetTI(&ti, false);
        ASSERT_EQ(sources[i]->WriteDblVec(v.data(), int(v.size())), 0);
    }
    H h;
    std::vector<std::unique_ptr<TCIOStream>> sources;
};

TEST(TCPortHelper, DeclaringAPortCreatesThePortsBeforeItWithoutTypes)
{
    H h(nullptr);
    EXPECT_EQ(h.SetPort(PT_INPUT, 2, "C", "SWORD", nullptr, false), 0u);
    EXPECT_EQ(h.GetPortCnt(PT_INPUT), 3);
    EXPECT_EQ(h.GetPortCnt(PT_OUTPUT), 0);
    for (unsigned p : {0u, 1u, 7u}) {
        int n = -1;
        EXPECT_EQ(h.GetPortType(PT_INPUT, p, &n), nullptr) << p;
        EXPECT_EQ(n, 0) << p;
        EXPECT_EQ(h.DataType(PT_INPUT, p, nullptr), 0u) << p;
        EXPECT_STREQ(h.GetPortName(PT_INPUT, p), "") << p;
    }
    EXPECT_STREQ(h.GetPortName(PT_INPUT, 2), "C");
    EXPECT_STREQ(h.GetPortType(PT_INPUT, 2, nullptr), "SWORD{BIN}");

    // A second declaration appends a type but leaves the port on its first one.
    EXPECT_EQ(h.SetPort(PT_INPUT, 2, "D", H::DT_DOUBLE_ARRAY), 1u);
    unsigned index = 9;
    EXPECT_EQ(h.DataType(PT_INPUT, 2, &index), (unsigned long)(H::DT_SWORD));
    EXPECT_EQ(index, 0u);
    EXPECT_STREQ(h.GetPortName(PT_INPUT, 2), "C");

    // Attaching shares a type; an index beyond the table is ignored.
    h.AttachPort(PT_INPUT, 0, "A", 1);
    h.AttachPort(PT_INPUT, 1, "B", 2);
    EXPECT_EQ(h.DataType(PT_INPUT, 0, &index), (unsigned long)(H::DT_DOUBLE_ARRAY));
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(h.DataType(PT_INPUT, 1, nullptr), 0u);
    EXPECT_EQ(h.GetPortCnt(PT_INPUT), 3);

    h.ChangeType(PT_INPUT, 2, "DOUBLE[1]", nullptr, false);
    EXPECT_EQ(h.DataType(PT_INPUT, 2, nullptr), (unsigned long)(H::DT_DOUBLE_1));
    EXPECT_TRUE(h.DoesDataTypeMatch(PT_INPUT, 2, H::DT_DOUBLE_FAMILY, H::CHECK_ANY_BIT));
    EXPECT_FALSE(h.DoesDataTypeMatch(PT_INPUT, 2, H::DT_DOUBLE_FAMILY, H::CHECK_ALL_BITS));
    EXPECT_FALSE(h.DoesDataTypeMatch(PT_INPUT, 1, 0, H::CHECK_ANY_BIT));

    h.ClearPorts(false);
    EXPECT_EQ(h.GetPortCnt(PT_INPUT), 0);
    EXPECT_EQ(h.SetPort(PT_OUTPUT, 0, "O", H::DT_SWORD), 0u);  // the table is empty again
}

TEST(TCPortHelper, RangesNameEveryPortAndShareOneType)
{
    H h(nullptr);
    EXPECT_EQ(h.SetPortRange(PT_OUTPUT, 1, 3, &NameOf, "UBYTE[]", nullptr, false), 0u);
    EXPECT_EQ(h.GetPortCnt(PT_OUTPUT), 4);
    EXPECT_STREQ(h.GetPortName(PT_OUTPUT, 0), "");
    EXPECT_STREQ(h.GetPortName(PT_OUTPUT, 3), "Out3");
    EXPECT_STREQ(h.GetPortType(PT_OUTPUT, 2, nullptr), "UBYTE[]{Text}");
    h.AttachPortRange(PT_OUTPUT, 0, 5, &NameOf, 0);
    EXPECT_STREQ(h.GetPortName(PT_OUTPUT, 0), "Out0");
    EXPECT_STREQ(h.GetPortName(PT_OUTPUT, 4), "Out4");
    h.AttachPortRange(PT_OUTPUT, 0, 0xFFFFFFFFu, &NameOf, 0);  // wraps: refused
    EXPECT_EQ(h.GetPortCnt(PT_OUTPUT), 5);
    h.SetPort(PT_INPUT, 0xFFFFFFFFu, "Far", H::DT_SWORD);  // beyond any list: only the type is added
    EXPECT_EQ(h.GetPortCnt(PT_INPUT), 0);
}

TEST(TCPortHelper, ElementSizesAndScalarTypes)
{
    const struct {
        unsigned long code;
        int size;
        bool scalar;
    } cases[] = {
        {H::DT_SWORD, 4, false},        {H::DT_SWORD_1, 4, true},          {H::DT_SWORD_ARRAY, 4, false},
        {H::DT_SWORD_MATRIX, 4, false}, {H::DT_DOUBLE, 8, false},          {H::DT_DOUBLE_1, 8, true},
        {H::DT_DOUBLE_ARRAY, 8, false}, {H::DT_DOUBLE_MATRIX, 8, false},   {H::DT_STRING, 1, false},
        {H::DT_STRING_ARRAY, 1, false}, {H::DT_MULTITYPE, 0, false},       {H::DT_UNDEFINED, 0, false},
        {H::DT_TYPEINFO | H::DT_DOUBLE_1, 8, false},
    };
    H h(nullptr);
    unsigned port = 0;
    for (const auto& c : cases) {
        h.SetPort(PT_OUTPUT, port, "P", c.code);
        EXPECT_EQ(h.ElemSize(PT_OUTPUT, port), c.size) << std::hex << c.code;
        EXPECT_EQ(h.IsScalarDataType(PT_OUTPUT, port), c.scalar) << std::hex << c.code;
        ++port;
    }
    EXPECT_EQ(h.ElemSize(PT_OUTPUT, port), 0);
    EXPECT_FALSE(h.IsScalarDataType(PT_INPUT, 0));
}

TEST(TCPortHelper, LinesCountAtThePortAndItsType)
{
    H h(nullptr);
    h.SetPortRange(PT_INPUT, 0, 2, &NameOf, H::DT_UNDEFINED);
    // The shared undefined type adopts the first offered type and shows it while it has lines.
    int n = 0;
    EXPECT_TRUE(h.ValidatePortType(PT_INPUT, 1, "SWORD{BIN}", 1));
    EXPECT_EQ(h.GetPortType(PT_INPUT, 0, &n), nullptr);
    h.AddLine(PT_INPUT, 0);
    EXPECT_STREQ(h.GetPortType(PT_INPUT, 1, &n), "SWORD{BIN}");
    h.AddLine(PT_INPUT, 1);
    h.DelLine(PT_INPUT, 1);
    h.DelLine(PT_INPUT, 1);  // never below 0
    h.AddLine(PT_INPUT, 5);  // ignored
    EXPECT_EQ(h.GetMessageA(47, (PT_INPUT << 16) | 0), 1);
    EXPECT_EQ(h.GetMessageA(47, (PT_INPUT << 16) | 1), 0);
    EXPECT_TRUE(h.IsWired(PT_INPUT, 0, H::LT_LINES));
    EXPECT_FALSE(h.IsWired(PT_INPUT, 0, H::LT_STREAMS));
    EXPECT_TRUE(h.IsWired(PT_INPUT, 0, H::LT_RUNNING));
    EXPECT_FALSE(h.IsWired(PT_INPUT, 0, H::LINETYPE(3)));
    EXPECT_TRUE(h.AnyPortWired(1));
    EXPECT_FALSE(h.AnyPortWired(2));
    // Each count stops at 0 on its own: the type lost a line that port 1 no longer had.
    EXPECT_EQ(h.GetPortType(PT_INPUT, 0, &n), nullptr);
}

// A re-declaration keeps the lines and the adopted types of the ports it replaces: by
// position, or by name when the host asks so.
TEST(TCPortHelper, BackupsCarryLinesAndAdoptedTypesAcrossARedeclaration)
{
    const struct {
        CALLED_FROM from;
        bool deep;
        const char* first;   // name of the new input 0
        const char* second;  // name of the new input 1
        const char* type0;   // what input 0 shows afterwards
        int lines0;
    } cases[] = {
        {CF_HOST, true, "A", "B", "SWORD{BIN}", 2},
        {CF_BY_NAME, false, "B", "A", "SWORD{BIN}", 2},      // by position still
        {CF_BY_NAME, true, "B", "A", "UBYTE[]{Text}", 2},    // B's type, but lines by position
    };
    for (const auto& c : cases) {
        H h(nullptr);
        h.SetPort(PT_INPUT, 0, "A", H::DT_UNDEFINED);
        h.SetPort(PT_INPUT, 1, "B", H::DT_UNDEFINED);
        h.SetPort(PT_OUTPUT, 0, "O", H::DT_SWORD);
        h.ValidatePortType(PT_INPUT, 0, "SWORD{BIN}", 1);
        h.ValidatePortType(PT_INPUT, 1, "UBYTE[]{Text}", 1);
        h.AddLine(PT_INPUT, 0);
        h.AddLine(PT_INPUT, 0);
        h.AddLine(PT_INPUT, 1);
        h.AddLine(PT_OUTPUT, 0);
        EXPECT_EQ(h.ComputeValidationData(c.from, c.deep), 1);
        h.ClearPorts(true);
        EXPECT_FALSE(h.IsValidated());
        EXPECT_EQ(h.GetPortCnt(PT_INPUT), 0);
        h.SetPort(PT_INPUT, 0, c.first, H::DT_UNDEFINED);
        h.SetPort(PT_INPUT, 1, c.second, H::DT_UNDEFINED);
        h.SetPort(PT_OUTPUT, 0, "O", H::DT_SWORD);
        EXPECT_EQ(h.ComputeValidationData(c.from, c.deep), 1);
        EXPECT_STREQ(h.GetPortType(PT_INPUT, 0, nullptr), c.type0) << c.from << c.deep;
        EXPECT_EQ(h.GetMessageA(47, (PT_INPUT << 16) | 0), c.lines0);
        EXPECT_EQ(h.GetMessageA(47, (PT_OUTPUT << 16) | 0), 1);
        // The backups are used once.
        EXPECT_EQ(h.ComputeValidationData(c.from, c.deep), 0);
        EXPECT_EQ(h.GetMessageA(47, (PT_INPUT << 16) | 0), c.lines0);
    }
}

TEST(TCPortHelper, StoredValidationIsAdoptedByAnUndefinedPort)
{
    H h(nullptr);
    h.StoreValidation(PT_OUTPUT, 1, "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 2);
    h.StoreValidation(PT_OUTPUT, 0xFFFFFFFFu, "SWORD{BIN}", 1);  // refused
    h.SetPort(PT_OUTPUT, 1, "Any", H::DT_UNDEFINED);
    h.SetPort(PT_OUTPUT, 0, "Fixed", H::DT_SWORD);
    h.AddLine(PT_OUTPUT, 1);
    h.ComputeValidationData(CF_HOST, false);
    EXPECT_STREQ(h.GetPortType(PT_OUTPUT, 1, nullptr), "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}");
    EXPECT_STREQ(h.GetPortType(PT_OUTPUT, 0, nullptr), "SWORD{BIN}");
}

TEST(TCPortHelper, PortNamesAreMadeUnique)
{
    H h(nullptr);
    h.SetPort(PT_INPUT, 0, "In", H::DT_SWORD);
    h.SetPort(PT_INPUT, 1, "In_1", H::DT_SWORD);
    h.SetPort(PT_OUTPUT, 0, "Out", H::DT_SWORD);
    h.SetPort(PT_OUTPUT, 1, "In_2", H::DT_SWORD);
    const struct {
        int which;
        const char* name;
        const char* unique;
    } cases[] = {
        {1, "In", "In_2"}, {3, "In", "In_3"}, {2, "In", "In"},   {1, "Free", "Free"},
        {2, "Out", "Out_1"}, {0, "In", "In"}, {1, "", ""},
    };
    for (const auto& c : cases) {
        TCString name(c.name);
        EXPECT_TRUE(h.MakePortNameUnique(c.which, name));
        EXPECT_STREQ(name, c.unique) << c.which << " " << c.name;
    }
}

TEST(TCPortHelper, DuplicatePortNamesAreFound)
{
    auto list = [](std::initializer_list<const char*> names) {
        TCArray<TCString> a;
        for (const char* n : names)
            a.Add(TCString(n));
        return a;
    };
    const struct {
        TCArray<TCString> in, out;
        int result;
        const char* name;
    } cases[] = {
        {list({"a", "b"}), list({"a", "c"}), 0, ""},
        {list({"a", "b", "a"}), list({"c", "c"}), 1, "a"},
        {list({}), list({"x", "y", "y"}), 2, "y"},
    };
    for (const auto& c : cases) {
        TCString name;
        EXPECT_EQ(H::CheckPortNames(c.in, c.out, name), c.result);
        EXPECT_STREQ(name, c.name);
    }
}

TEST(TCPortHelper, PiecesOfABlockGetTheirStatus)
{
    const struct {
        TCBLOCKSTATUS state;
        unsigned total, done, now;
        TCBLOCKSTATUS result;
    } cases[] = {
        {TCBS_STOP, 3, 2, 1, TCBS_STOP},      {TCBS_START, 3, 0, 1, TCBS_START},
        {TCBS_BUSY, 3, 1, 1, TCBS_BUSY},      {TCBS_BUSY, 3, 2, 2, TCBS_INVALID},
        {TCBS_BUSY, 0, 0, 0, TCBS_INVALID},   {TCBS_STOP, 1, 0, 1, TCBS_STOP},
        {TCBS_COMPLETE, 1, 0, 0, TCBS_COMPLETE}, {TCBS_COMPLETE, 4, 0, 2, TCBS_START},
        {TCBS_BUSY, 4, 0, 2, TCBS_BUSY},      {TCBS_STOP, 4, 0, 2, TCBS_BUSY},
        {TCBS_START, 4, 1, 2, TCBS_BUSY},     {TCBS_COMPLETE, 4, 2, 2, TCBS_STOP},
        {TCBS_START, 4, 2, 2, TCBS_BUSY},     {TCBS_BUSY, 4, 3, 1, TCBS_BUSY},
        {TCBS_BUSY, 0xFFFFFFFFu, 0xFFFFFFFFu, 2, TCBS_INVALID},
    };
    for (const auto& c : cases)
        EXPECT_EQ(H::ConvBlockState(c.state, c.total, c.done, c.now), c.result)
            << c.state << " " << c.total << " " << c.done << " " << c.now;
}

// The trigger rule as sets: a group fires when its connected inputs are not empty and all
// hold a block; an input in no group fires alone.
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

TEST(TCPortHelper, ErrorRecordPointsAtTheStreams)
{
    Rig rig(2);
    TCIOStream* in1 = static_cast<TCIOStream*>(rig.h.SetInputStream(1, 0, 3));
    rig.h.SetPort(PT_OUTPUT, 0, "O", H::DT_DOUBLE_ARRAY);
    TCIOStream sink;
    sink.SetInputStream(3);
    rig.h.AddOutputStream(0, &sink);
    EXPECT_EQ(rig.h.SetErrMsg(-7, PT_INPUT, 0, 1, "t", nullptr), -7);
    const ERR_MSG& e = rig.h.GetErrMsg();
    EXPECT_NE(e.stream, nullptr);
    EXPECT_EQ(e.stream2, in1);
    EXPECT_STREQ(e.text, "t");
    EXPECT_STREQ(e.text2, "");
    EXPECT_EQ(rig.h.SetErrMsg(-8, PT_OUTPUT, 0, 0), -8);
    EXPECT_EQ(e.stream, &sink);
    EXPECT_EQ(e.stream2, nullptr);
    EXPECT_EQ(rig.h.SetErrMsg(-9, PT_OUTPUT, 4, -1), -9);
    EXPECT_EQ(e.stream, nullptr);
    EXPECT_EQ(e.port, 4);
    rig.h.DeleteStreams();
    sink.DeleteStreams();
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
        EXPECT_EQ(m.Init(), 0);
        EXPECT_EQ(m.Fetch(), c.ready) << c.behaviour;
        m.Helper().SetReadyFlag(false);
        EXPECT_EQ(m.Fetch(), c.cleared) << c.behaviour;
        EXPECT_EQ(m.Fetch(), c.after) << c.behaviour;
    }
}

// Dynamic ports: the callback asks for one input less; message 26 applies it.
struct DynState {
    int wanted = 0;
    int agree = 1;
    std::vector<int> requests;
    TCPortHelper* h = nullptr;
    bool validatedInside = true;
};

int DynCallback(long arg, int request)
{
    auto* s = reinterpret_cast<DynState*>(arg);
    s->requests.push_back(request);
    s->validatedInside = s->h->IsValidated();
    if (request == 1 && s->h->GetPortCnt(PT_INPUT) < 4) {
        s->h->SetPort(PT_INPUT, unsigned(s->h->GetPortCnt(PT_INPUT)), "More", H::DT_SWORD);  // grows
        return 1;
    }
    return request == 0 ? s->wanted : request == -1 ? s->agree : 0;
}

TEST(TCPortHelper, DynamicPortsThroughMessage26)
{
    Rig rig(3);
    EXPECT_EQ(rig.h.GetMessageA(26, 0), 0);  // no callback
    DynState s;
    s.h = &rig.h;
    rig.h.UseDynPorts(&DynCallback, reinterpret_cast<long>(&s));
    EXPECT_EQ(rig.h.GetMessageA(26, 1), 1);
    EXPECT_EQ(rig.h.GetPortCnt(PT_INPUT), 4);
    EXPECT_FALSE(s.validatedInside);
    EXPECT_TRUE(rig.h.IsValidated());
    EXPECT_EQ(rig.h.GetMessageA(26, 0), 0);  // mode 0: nothing wanted
    s.wanted = 1 | (2 << 16);                 // two inputs less
    EXPECT_EQ(rig.h.GetMessageA(26, 0), 1);
    rig.h.AddLine(PT_INPUT, 2);
    EXPECT_EQ(rig.h.GetMessageA(26, 2), 0);  // a line at input 2
    rig.h.DelLine(PT_INPUT, 2);
    s.agree = 0;
    EXPECT_EQ(rig.h.GetMessageA(26, 2), 0);  // the callback refuses
    s.agree = 1;
    s.requests.clear();
    EXPECT_EQ(rig.h.GetMessageA(26, 2), 1);
    EXPECT_EQ(rig.h.GetPortCnt(PT_INPUT), 2);
    EXPECT_EQ(s.requests, (std::vector<int>{0, -1}));
    s.wanted = 3 | (1 << 16) | (1 << 24);  // one of each, but there is no output to spare
    EXPECT_EQ(rig.h.GetMessageA(26, 2), 0);
    s.wanted = 2;  // at least one output
    rig.h.SetPortRange(PT_OUTPUT, 0, 2, &NameOf, H::DT_SWORD);
    EXPECT_EQ(rig.h.GetMessageA(26, 2), 1);
    EXPECT_EQ(rig.h.GetPortCnt(PT_OUTPUT), 1);
    EXPECT_EQ(rig.h.GetMessageA(26, 3), 0);
    rig.h.UseDynPorts(nullptr, 5);
    EXPECT_EQ(rig.h.GetMessageA(26, 1), 0);
}

}  // namespace

namespace {

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

}  // namespace

namespace {

// A callback that takes the ports away while it is asked to agree.
int Vandal(long arg, int request)
{
    auto* h = reinterpret_cast<TCPortHelper*>(arg);
    if (request == -1) {
        h->ClearPorts(false);
        return 1;
    }
    return 1 | (1 << 16);
}

TEST(TCPortHelper, ACallbackThatClearsThePortsChangesNothingFurther)
{
    TCPortHelper h(nullptr);
    h.SetPortRange(PT_INPUT, 0, 3, &NameOf, TCPortHelper::DT_SWORD);
    h.UseDynPorts(&Vandal, reinterpret_cast<long>(&h));
    EXPECT_EQ(h.GetMessageA(26, 2), 0);
    EXPECT_EQ(h.GetPortCnt(PT_INPUT), 0);
    EXPECT_EQ(h.GetMessageA(26, 0), 0);  // the callback is gone with the ports
}

}  // namespace

namespace {

TEST(TCPortHelper, RandomStringIsHexadecimalAndKept)
{
    TCPortHelper a(nullptr), b(nullptr);
    const std::string first = a.RandomString();
    ASSERT_FALSE(first.empty());
    EXPECT_LE(first.size(), 8u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos) << first;
    EXPECT_EQ(first, a.RandomString());
    EXPECT_FALSE(std::string(b.RandomString()).empty());
}

TEST(TCPortHelper, ASourceKeepsItsSynchronisationTimeWhenTheGraphStarts)
{
    Source m;
    double start = 99;
    m.GetMessageA(7, reinterpret_cast<long>(&start));
    m.Init();  // reads the module type: a source
    m.GetMessageA(44, 5);
    EXPECT_EQ(m.Helper().SyncTime(), 99);
}

}  // namespace
