// A module run by the harness: the host's order, triggering, wiring checks, what reaches the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCShowBalloon.h"
#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

// Sums the blocks of A and B, which trigger together, times the latest value at the
// obligatory input Gain, through the port helper's typed reads and writes; the sum carries
// A's type information. Logs every call the host makes.
class Mixer : public TCBaseModule {
public:
    enum { A, B, GAIN };
    Mixer() : TCBaseModule(1)
    {
        m_pPortHelper = new TCPortHelper(this);
        m_pPortHelper->SetPort(PT_INPUT, A, "A", "DOUBLE[]", nullptr, true);
        m_pPortHelper->SetPort(PT_INPUT, B, "B", "DOUBLE[]", nullptr, true);
        m_pPortHelper->SetPort(PT_INPUT, GAIN, "Gain", "DOUBLE[]", nullptr, false);
        m_pPortHelper->SetPort(PT_OUTPUT, 0, "Sum", "DOUBLE[]", nullptr, true);
        m_pPortHelper->UseTypeInfoFromInput(0, A);
        m_pPortHelper->SetTriggerInputs(A, B);
        m_pPortHelper->SetObligatoryInput(GAIN);
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Mixer"; }

    long GetMessageA(unsigned code, long param) override
    {
        // Pointer parameters differ from run to run: only their codes are logged.
        const bool pointer = code == 4 || code == 16 || code == 18 || code == 19 || code == 27;
        Log(pointer ? std::to_string(code) : std::to_string(code) + "/" + std::to_string(param));
        if (code == 18)
            symbol = reinterpret_cast<const char*>(param);
        return TCBaseModule::GetMessageA(code, param);
    }
    int ComputeValidationData(CALLED_FROM from) override
    {
        Log("ComputeValidationData");
        return TCBaseModule::ComputeValidationData(from);
    }
    int ValidatePortType(PORTTYPE type, int port, const char* text, int tokens) override
    {
        Log("ValidatePortType " + std::to_string(port));
        return TCBaseModule::ValidatePortType(type, port, text, tokens);
    }
    void AddLine(PORTTYPE type, int port) override
    {
        Log("AddLine " + std::to_string(type) + " " + std::to_string(port));
        TCBaseModule::AddLine(type, port);
    }
    void* SetInputStream(int port, int unused, int precision) override
    {
        Log("SetInputStream " + std::to_string(port));
        return TCBaseModule::SetInputStream(port, unused, precision);
    }
    void AddOutputStream(int port, void* stream) override
    {
        Log("AddOutputStream " + std::to_string(port));
        TCBaseModule::AddOutputStream(port, stream);
    }
    int Init() override
    {
        Log("Init");
        TCModuleMessage::Info(GetModuleName(), "gain %g", m_gain);
        return TCBaseModule::Init();
    }
    int Fetch() override
    {
        Log("Fetch");
        const int r = TCBaseModule::Fetch();
        if (r != 0)
            return r;
        TCPortHelper& h = *m_pPortHelper;
        if (h.BlocksOnStream(PT_INPUT, GAIN) > 0) {
            unsigned n = 1;
            if (h.ReadDblData(GAIN, n, &m_gain) < 1)
                return TCError(GetModuleName(), "Gain needs one value");
        }
        if (h.BlocksOnStream(PT_INPUT, A) == 0 || h.BlocksOnStream(PT_INPUT, B) == 0)
            return 0;
        double x[8], y[8];
        unsigned nx = 8, ny = 8;
        h.ReadDblData(A, nx, x);
        h.ReadDblData(B, ny, y);
        const unsigned n = std::min(nx, ny);
        for (unsigned i = 0; i < n; ++i)
            x[i] = (x[i] + y[i]) * m_gain;
        return h.WriteDblData(0, n, x) < 0 ? -2 : 0;
    }
    int Done() override
    {
        Log("Done");
        return TCBaseModule::Done();
    }
    void DeleteStreams() override
    {
        Log("DeleteStreams");
        TCBaseModule::DeleteStreams();
    }

    std::vector<std::string> calls;
    std::string symbol;

private:
    void Log(std::string call) { calls.push_back(std::move(call)); }

    double m_gain = 1;
};

TEST(TCModuleHarness, SendsTheHostsMessagesInTheHostsOrder)
{
    Mixer m;
    {
        TCModuleHarness host(m);
        host.SetNames("Mix", "Graph");
        host.LeaveUnwired(PT_INPUT, Mixer::B);
        ASSERT_EQ(host.Start(), 0);
        EXPECT_EQ(host.Start(), -1);
        EXPECT_EQ(host.Cycle(), 1);
        EXPECT_EQ(host.Stop(), 0);
        EXPECT_EQ(host.Stop(), -1);
        EXPECT_EQ(host.Cycle(), -1);
    }
    const std::vector<std::string> order = {
        "4", "18", "19", "27", "38/1", "ComputeValidationData",
        "ValidatePortType 0", "AddLine 1 0", "SetInputStream 0",
        "ValidatePortType 2", "AddLine 1 2", "SetInputStream 2",
        "AddLine 2 0", "AddOutputStream 0",
        "Init", "44/5", "46/1", "32/0", "Fetch",
        "46/0", "44/6", "Done", "DeleteStreams",
    };
    EXPECT_EQ(m.calls, order);
    EXPECT_EQ(m.symbol, "Mix");
}

TEST(TCModuleHarness, AGroupTriggersOnlyWithABlockAtEachOfItsInputs)
{
    Mixer m;
    TCModuleHarness host(m);
    ASSERT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Write(Mixer::GAIN, 2.0), 0);
    const double a[] = {1, 2, 3}, b[] = {10, 20, 30};
    TCTypeInfo ti;
    ti.Samplerate = 8000;
    EXPECT_EQ(host.Write(Mixer::A, a, 3, &ti), 0);
    EXPECT_EQ(host.Run(10), 1);  // the gain is read; A alone does not trigger
    EXPECT_EQ(host.OutputBlockCnt(0), 0);
    EXPECT_EQ(host.Write(Mixer::B, b, 2), 0);
    EXPECT_EQ(host.Run(10), 1);
    ASSERT_EQ(host.OutputBlockCnt(0), 1);
    const TCArray<double, double> sum = host.OutputDoubles(0, 0);
    ASSERT_EQ(sum.GetSize(), 2);
    EXPECT_EQ(sum[0], 22);
    EXPECT_EQ(sum[1], 44);
    ASSERT_NE(host.OutputTI(0, 0), nullptr);
    EXPECT_EQ(host.OutputTI(0, 0)->Samplerate, 8000);
    EXPECT_EQ(host.OutputTI(0, 1), nullptr);
    EXPECT_EQ(host.OutputInts(0, 0).GetSize(), 0);  // no integers in the block
    EXPECT_EQ(host.Cycles(), 4);
    // An integer at Gain is an error the module shows through the host.
    const int integer = 3;
    EXPECT_EQ(host.WriteWith(Mixer::GAIN, [&](TCIOStream& s) { return s.WriteIntVec(&integer, 1); }), 0);
    EXPECT_EQ(host.Run(3), -2);
    ASSERT_EQ(host.HostRecords().GetSize(), 1);
    EXPECT_EQ(host.HostRecords()[0].request, unsigned(TCERROR_RECORD::REQUEST));
    EXPECT_EQ(host.HostRecords()[0].type, TCERROR_RECORD::TYPE_ERROR);
    EXPECT_EQ(std::string(host.HostRecords()[0].text), "Gain needs one value");
    EXPECT_EQ(std::string(host.HostRecords()[0].module), "Mixer1");
    // The bound ends a run that still has work: one gain block per cycle.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(host.Write(Mixer::GAIN, 1.0), 0);
    EXPECT_EQ(host.Run(3), 0);
    EXPECT_EQ(host.Run(10), 1);
    EXPECT_EQ(host.Write(7u, 1.0), -1);
}

// Init refuses an unwired obligatory input only while the wiring checks are on.
TEST(TCModuleHarness, AnUnwiredObligatoryInputIsNamedByInit)
{
    for (bool checks : {true, false}) {
        Mixer m;
        TCModuleHarness host(m);
        host.SetWiringChecks(checks);
        host.LeaveUnwired(PT_INPUT, Mixer::GAIN);
        EXPECT_EQ(host.Start(), checks ? -3 : 0);
        EXPECT_EQ(host.IsRunning(), !checks);
        EXPECT_FALSE(host.IsWired(PT_INPUT, Mixer::GAIN));
        EXPECT_TRUE(host.IsWired(PT_INPUT, Mixer::A));
        EXPECT_EQ(host.Write(Mixer::GAIN, 1.0), -1);
        const ERR_MSG* e = host.ErrMsg();
        ASSERT_NE(e, nullptr);
        if (checks) {
            EXPECT_EQ(e->code, -3);
            EXPECT_STREQ(m.GetInputName(e->port), "Gain");
            EXPECT_EQ(host.Cycle(), -1);
        }
    }
}

// A port type that differs in its declarator is a question to the host; its answer decides
// whether the line is drawn.
TEST(TCModuleHarness, TheHostsAnswerDecidesAboutADifferingType)
{
    for (int answer : {1, 0}) {
        Mixer m;
        TCModuleHarness host(m);
        host.SetValidationAnswer(answer);
        host.OfferType(Mixer::A, "TYPEINFO{TypeInfo} DOUBLE[]{FREQ_DOMAIN}", 2);
        EXPECT_EQ(host.Start(), 0);
        EXPECT_EQ(host.IsWired(PT_INPUT, Mixer::A), answer != 0);
        ASSERT_EQ(host.HostRecords().GetSize(), 1) << answer;
        const TCModuleHarness::HostRecord& r = host.HostRecords()[0];
        EXPECT_EQ(r.message, 40009u);
        EXPECT_EQ(r.request, unsigned(TCValidateActualPortType::REQUEST_VALIDATION));
        EXPECT_EQ(r.type, TCValidateActualPortType::MSG_DECLARATOR_DIFFERS);
        EXPECT_EQ(std::string(r.module), "Mixer1");
        EXPECT_EQ(std::string(r.text), "TIME_DOMAIN");
        EXPECT_EQ(std::string(r.text2), "FREQ_DOMAIN");
    }
}

TEST(TCModuleHarness, RecordsWhatReachesTheHostAndRestoresTheHostWindow)
{
    TCHostWindow* before = TCGetHostWindow();
    {
        Mixer m;
        TCModuleHarness host(m);
        EXPECT_NE(TCGetHostWindow(), before);
        ASSERT_EQ(host.Start(), 0);
        ASSERT_EQ(host.ModuleMessages().GetSize(), 1);
        EXPECT_EQ(std::string(host.ModuleMessages()[0].module), "Mixer1");
        EXPECT_EQ(std::string(host.ModuleMessages()[0].text), "gain 1");
        EXPECT_EQ(host.ModuleMessages()[0].type, int(TCModuleMessage::Types::Info));
        LaunchHelp("topic.htm");
        ASSERT_EQ(host.HostRecords().GetSize(), 1);
        EXPECT_EQ(host.HostRecords()[0].request, unsigned(TCValidateActualPortType::REQUEST_HELP));
        EXPECT_EQ(std::string(host.HostRecords()[0].text), "topic.htm");
        TCShowBalloon(nullptr, 0, "Title", "Text");
        ASSERT_EQ(host.HostRecords().GetSize(), 2);
        EXPECT_EQ(host.HostRecords()[1].request, unsigned(TCBALLOON_RECORD::REQUEST));
        EXPECT_EQ(std::string(host.HostRecords()[1].text), "Text");
        EXPECT_EQ(std::string(host.HostRecords()[1].text2), "Title");
        EXPECT_EQ(host.HostRecords()[1].type, TCBALLOON_RECORD::ICON_INFORMATION);
        host.ClearRecords();
        EXPECT_TRUE(host.HostRecords().IsEmpty());
        EXPECT_TRUE(host.ModuleMessages().IsEmpty());
    }
    EXPECT_EQ(TCGetHostWindow(), before);
}

// A module whose inputs the user adds and removes: its callback offers one more input and
// asks for the last one to go; message 26 applies that while the module is wired.
class Stack : public TCBaseModule {
public:
    Stack() : TCBaseModule(0)
    {
        m_pPortHelper = new TCPortHelper(this);
        m_pPortHelper->SetPortRange(PT_INPUT, 0, 2, &Name, "DOUBLE[]", nullptr, false);
        m_pPortHelper->UseDynPorts(&Ports, reinterpret_cast<long>(m_pPortHelper));
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Stack"; }

private:
    static const char* Name(PORTTYPE, unsigned port)
    {
        static const char* const names[] = {"In0", "In1", "In2"};
        return names[port % 3];
    }
    static int Ports(long arg, int request)
    {
        auto* h = reinterpret_cast<TCPortHelper*>(arg);
        if (request == 1) {
            const unsigned n = unsigned(h->GetPortCnt(PT_INPUT));
            h->SetPort(PT_INPUT, n, Name(PT_INPUT, n), "DOUBLE[]", nullptr, false);
            return 1;
        }
        return request == 0 ? 1 | (1 << 16) : 1;  // one input less; agreed
    }
};

TEST(TCModuleHarness, DynamicPortsChangeThroughMessage26)
{
    for (bool lastWired : {true, false}) {
        Stack m;
        TCModuleHarness host(m);
        if (!lastWired)
            host.LeaveUnwired(PT_INPUT, 1);
        ASSERT_EQ(host.Start(), 0);
        EXPECT_EQ(host.Message(26, 0), 1);
        // A port with a line stays.
        EXPECT_EQ(host.Message(26, 2), lastWired ? 0 : 1) << lastWired;
        EXPECT_EQ(m.GetNoInput(), lastWired ? 2 : 1);
        EXPECT_EQ(host.Message(26, 1), 1);
        EXPECT_EQ(m.GetNoInput(), lastWired ? 3 : 2);
        EXPECT_EQ(host.Write(0, 1.0), 0);
        EXPECT_EQ(host.Cycle(), 0);
        EXPECT_EQ(host.Write(2, 1.0), -1);  // added after the wiring: no producer
    }
}

}  // namespace
