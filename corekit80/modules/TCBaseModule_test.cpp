// The module base: neutral answers without a port helper, display names and host messages.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "corekit80/foundation/TCProfile.h"
#include "corekit80/foundation/TCResourceLanguage.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

class Plain : public TCBaseModule {
public:
    explicit Plain(int instance, const char* base = "FFT") : TCBaseModule(instance), m_base(base) {}
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return m_base.c_str(); }
    std::string m_base;
};

// A module that makes its own port helper, as one derived straight from the base does.
class WithPorts : public Plain {
public:
    WithPorts() : Plain(0)
    {
        m_pPortHelper = new TCPortHelper(this);
        m_pPortHelper->SetPort(PT_INPUT, 0, "In", "DOUBLE[]", nullptr, true);
        m_pPortHelper->SetPort(PT_INPUT, 1, "Gate", "SWORD", nullptr, false);
        m_pPortHelper->SetPort(PT_OUTPUT, 0, "Out", "DOUBLE[]", nullptr, true);
    }
    TCPortHelper& Ports() { return *m_pPortHelper; }
};

TEST(TCBaseModule, WithoutPortHelperEverySlotAnswersItsNeutralValue)
{
    Plain m(0);
    RET_PORT ret;
    const char* type = "untouched";
    int tokens = -7;
    m.GetPortType(PT_INPUT, 0, &type, tokens);
    int ok = 1, cancel = 2;
    m.AddLine(PT_INPUT, 0);
    m.DelLine(PT_OUTPUT, 0);
    m.SetBaseAdr(PT_INPUT, 0, 5);
    m.DelBaseAdr(PT_INPUT, 0, 5);
    m.AddOutputStream(0, nullptr);
    m.DeleteStreams();
    const struct {
        const char* slot;
        long got;
        long want;
    } cases[] = {
        {"GetTypeOfModule", m.GetTypeOfModule(), 0},
        {"GetFrameColor", long(m.GetFrameColor()), 0},
        {"OnLeftDblClk", m.OnLeftDblClk(0, 0, ret), PT_NONE},
        {"OnLeftDblClk record", ret.portType, PT_OUTPUT},
        {"GetBaseAdr", m.GetBaseAdr(PT_INPUT, 0), 0},
        {"GetNoInput", m.GetNoInput(), 0},
        {"GetNoOutput", m.GetNoOutput(), 0},
        {"GetInputName", long(std::string(m.GetInputName(0)).size()), 0},
        {"GetOutputName", long(std::string(m.GetOutputName(3)).size()), 0},
        {"GetPortType text kept", type == std::string("untouched"), 1},
        {"GetPortType count kept", tokens, -7},
        {"ValidatePortType", m.ValidatePortType(PT_INPUT, 0, "DOUBLE[]{TIME_DOMAIN}", 1), 0},
        {"Init", m.Init(), 0},
        {"Fetch", m.Fetch(), 1},
        {"Done", m.Done(), 0},
        {"SetInputStream", m.SetInputStream(0, 0, 3) != nullptr, 0},
        {"ComputeValidationData", m.ComputeValidationData(CF_HOST), 0},
        {"OnEndShowDialog 1", m.OnEndShowDialog(ok), 1},
        {"OnEndShowDialog 2", m.OnEndShowDialog(cancel), 0},
        {"Priority", m.Priority(), 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.slot;
    // Every host message of the port helper answers 0 without one.
    for (unsigned code : {4u, 7u, 16u, 18u, 19u, 26u, 32u, 35u, 36u, 38u, 44u, 45u, 46u, 47u})
        EXPECT_EQ(m.GetMessageA(code, 1), 0) << code;
}

// The slot of a virtual member as the Itanium ABI encodes it in a member pointer: one
// more than its byte offset in the virtual table.
template <class F>
long SlotOf(F member)
{
    static_assert(sizeof(F) == 2 * sizeof(long));
    long word[2];
    std::memcpy(word, &member, sizeof word);
    return (word[0] - 1) / long(sizeof(void*));
}

TEST(TCBaseModule, VirtualSlotsKeepTheirOrder)
{
    using M = TCBaseModule;
    const long slots[] = {
        SlotOf(&M::ReservedSlot0),     SlotOf(&M::GetTypeOfModule),       SlotOf(&M::ReservedSlot2),
        SlotOf(&M::GetFrameColor),     SlotOf(&M::AddLine),               SlotOf(&M::DelLine),
        SlotOf(&M::OnLeftDblClk),      SlotOf(&M::GetMessageA),           SlotOf(&M::GetBaseAdr),
        SlotOf(&M::SetBaseAdr),        SlotOf(&M::DelBaseAdr),            SlotOf(&M::GetNoInput),
        SlotOf(&M::GetNoOutput),       SlotOf(&M::GetInputName),          SlotOf(&M::GetOutputName),
        SlotOf(&M::GetPortType),       SlotOf(&M::ValidatePortType),      SlotOf(&M::Init),
        SlotOf(&M::Fetch),             SlotOf(&M::ReservedSlot19),        SlotOf(&M::Done),
        SlotOf(&M::SetInputStream),    SlotOf(&M::AddOutputStream),       SlotOf(&M::DeleteStreams),
        SlotOf(&M::ComputeValidationData), SlotOf(&M::BuildPropertyDialog), SlotOf(&M::OnEndShowDialog),
        SlotOf(&M::GetModuleTypeName),
    };
    for (long i = 0; i < long(std::size(slots)); ++i)
        EXPECT_EQ(slots[i], i);
}

TEST(TCBaseModule, DisplayNameCarriesTheInstanceNumber)
{
    const struct {
        const char* base;
        int instance;
        const char* name;
    } cases[] = {
        {"FFT", 0, "FFT"}, {"FFT", 3, "FFT3"}, {"Filter2", 3, "Filter2 3"},
        {"Filter2", 0, "Filter2"}, {"", 4, "4"}, {"A9", -1, "A9 -1"},
    };
    for (const auto& c : cases) {
        Plain m(c.instance, c.base);
        EXPECT_STREQ(m.GetModuleName(), c.name) << c.base << " " << c.instance;
        m.m_base = "Other";
        EXPECT_STREQ(m.GetModuleName(), c.name) << "kept once built";
    }
    TCPortHelper orphan(nullptr);
    EXPECT_STREQ(orphan.GetModuleName(), "No module");
    Plain named(2);
    TCPortHelper helper(&named);
    EXPECT_STREQ(helper.GetModuleName(), "FFT2");
}

TEST(TCBaseModule, SlotsForwardToThePortHelper)
{
    WithPorts m;
    EXPECT_EQ(m.GetNoInput(), 2);
    EXPECT_EQ(m.GetNoOutput(), 1);
    EXPECT_STREQ(m.GetInputName(1), "Gate");
    EXPECT_STREQ(m.GetOutputName(0), "Out");
    EXPECT_STREQ(m.GetInputName(2), "");
    EXPECT_STREQ(m.GetOutputName(-1), "");
    const char* text = nullptr;
    int n = 0;
    m.GetPortType(PT_OUTPUT, 0, &text, n);
    EXPECT_STREQ(text, "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}");
    EXPECT_EQ(n, 2);
    m.GetPortType(PT_OUTPUT, 1, &text, n);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(m.ValidatePortType(PT_INPUT, 1, "SWORD{BIN}", 1), 1);
    EXPECT_EQ(m.ValidatePortType(PT_INPUT, 5, "SWORD{BIN}", 1), 0);
    m.AddLine(PT_INPUT, 1);
    m.AddLine(PT_INPUT, 1);
    m.DelLine(PT_INPUT, 1);
    EXPECT_EQ(m.GetMessageA(47, (PT_INPUT << 16) | 1), 1);
    EXPECT_EQ(m.ComputeValidationData(CF_HOST), 1);
    EXPECT_EQ(m.ComputeValidationData(CF_HOST), 0);  // validated already
    EXPECT_EQ(m.Init(), 0);
    EXPECT_EQ(m.Fetch(), 1);
    EXPECT_EQ(m.Done(), 0);
}

// The host-message table, sent through the harness to a module it wired (all but Gate):
// what each code answers and what it changes, seen through the port helper's queries.
TEST(TCBaseModule, HostMessagesAnswerAsTheTableSays)
{
    WithPorts m;
    TCPortHelper& h = m.Ports();
    TCModuleHarness host(m);
    host.LeaveUnwired(PT_INPUT, 1);
    ASSERT_EQ(host.Start(), 0);
    TCIOStream* in = host.Producer(0)->GetFan(0);
    ASSERT_NE(in, nullptr);
    double start = 1234.5;
    ERR_MSG* record = nullptr;
    const std::string registry = GetRegistryPath();
    const int language = TCGetResourceLanguage();
    TCSetLoadStrResLanguage(language);  // message 41 then answers the same setting

    const struct {
        unsigned code;
        long param;
        long result;
    } cases[] = {
        {0, 0, 0},
        {3, 1, 0},
        {4, 0x5678, 0},
        {5, 1, 0},
        {7, reinterpret_cast<long>(&start), 0},
        {16, reinterpret_cast<long>(&record), 0},
        {18, reinterpret_cast<long>("Sym"), 0},
        {19, reinterpret_cast<long>("Graph"), 0},
        {23, 0, 0},
        {26, 0, 0},
        {27, 0, 0},
        {32, 0, 0},
        {35, 0, reinterpret_cast<long>(in)},
        {35, 1, 0},  // no stream handed over
        {35, 7, 0},
        {36, 0, reinterpret_cast<long>(host.Collector(0))},
        {36, 1 << 16, 0},
        {36, 1, 0},
        {38, 0, 0},
        {41, language, language},
        {43, reinterpret_cast<long>("Software\\Test\\"), 0},
        {44, 5, 0},
        {45, 1, -1},
        {45, 3, -1},
        {46, 1, 0},
        {47, (PT_OUTPUT << 16) | 0, 1},
        {47, (PT_INPUT << 16) | 0, 1},
        {47, (PT_INPUT << 16) | 1, 0},
        {47, (PT_OUTPUT << 16) | 9, 0},
        {48, 1, 0},
        {1000, 1, 0},
        {0xFFFFFFFFu, 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host.Message(c.code, c.param), c.result) << c.code << " " << c.param;
    ChangeRegistryPath(registry.c_str());

    EXPECT_EQ(h.GetInstanceHandle(), 0x5678);
    EXPECT_EQ(record, &h.GetErrMsg());
    EXPECT_EQ(host.ErrMsg(), record);
    EXPECT_STREQ(h.GetSymbolName(), "Sym");
    EXPECT_STREQ(h.GetSGName(), "Graph");
    EXPECT_TRUE(h.FirstInCycle(true));
    EXPECT_FALSE(h.FirstInCycle(false));
    EXPECT_TRUE(h.IsRunning());
    EXPECT_EQ(host.Message(46, 2), 0);
    EXPECT_FALSE(h.IsRunning());
    // 44/5 resets the synchronisation time of a module that is no source.
    EXPECT_EQ(host.Message(7, reinterpret_cast<long>(&start)), 0);
    EXPECT_EQ(h.SyncTime(), 1234.5);
    EXPECT_EQ(host.Message(44, 5), 0);
    EXPECT_NE(h.SyncTime(), 1234.5);
    // Message 38 turned the wiring checks off: the unwired obligatory input is accepted.
    h.SetObligatoryInput(1);
    EXPECT_EQ(m.Init(), 0);
    EXPECT_EQ(host.Message(38, 1), 0);
    EXPECT_EQ(m.Init(), -3);
    EXPECT_TRUE(host.HostRecords().IsEmpty());
}

}  // namespace
