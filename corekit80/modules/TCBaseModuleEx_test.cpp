// Modules that bind their variables: a small graph run by the module harness, the binding
// rules, and every kind of variable written and read back over a line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corekit80/modules/TCBaseModuleEx.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

// Writes blocks START, BUSY..., STOP of 1 to 8 doubles while ready, then reports its end.
class Generator : public TCBaseModule {
public:
    explicit Generator(int blocks) : TCBaseModule(0), m_blocks(blocks)
    {
        m_pPortHelper = new TCPortHelper(this);
        m_pPortHelper->SetPort(PT_OUTPUT, 0, "Out", "DOUBLE[]", nullptr, true);
        m_pPortHelper->BehaviourAsSource(TCPortHelper::SB_ONCE);
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Generator"; }
    int GetTypeOfModule() override { return 1; }
    int Fetch() override
    {
        const int r = TCBaseModule::Fetch();
        if (r != 0)
            return r;
        double v[8];
        const int n = 1 + m_sent % 8;
        for (int i = 0; i < n; ++i)
            sum += v[i] = m_sent * 8 + i - 20.25;
        const TCBLOCKSTATUS mark = m_sent == 0 ? TCBS_START : m_sent + 1 == m_blocks ? TCBS_STOP : TCBS_BUSY;
        marks.push_back(mark);
        m_pPortHelper->SetTI_Status(0, mark);
        EXPECT_EQ(m_pPortHelper->WriteDblData(0, unsigned(n), v), 1);
        if (++m_sent == m_blocks)
            m_pPortHelper->SetReadyFlag(false);
        return 0;
    }

    double sum = 0;
    std::vector<int> marks;

private:
    int m_blocks;
    int m_sent = 0;
};

// Scales its input by a bounded parameter; accepts received values only when told to.
class Gain : public TCBaseModuleEx {
public:
    Gain() : TCBaseModuleEx(0)
    {
        InputExt(m_selector);
        Input("In", m_in);
        Output("Out", m_out);
        Parameter("Gain", gain, 0.0, 10.0);
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Gain"; }
    int Fetch() override
    {
        const int p = ReadParameters();
        if (p != 0)
            parameterReads.push_back(p);
        if (p > 0 && accept)
            AcceptParameters();
        while (GetNumberOfBlocks(&m_in) > 0) {
            if (Read(&m_in) != 0)
                return -2;
            m_out.SetSize(m_in.GetSize());
            for (int i = 0; i < m_in.GetSize(); ++i)
                m_out[i] = m_in[i] * gain;
            CopyTypeInfo(&m_in, &m_out);
            if (Write(&m_out) != 1)
                return -2;
        }
        return TCBaseModuleEx::Fetch();
    }

    double gain = 2;
    bool accept = false;
    std::vector<int> parameterReads;

private:
    int m_selector = 1;
    MyInternalVector<double> m_in;
    TCArray<double, double> m_out;
};

// Sums what it reads and notes each block's data address (seen through the input's stream,
// host message 35) and status.
class Sink : public TCBaseModuleEx {
public:
    Sink() : TCBaseModuleEx(0) { Input("In", m_in); }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Sink"; }
    int Fetch() override
    {
        while (GetNumberOfBlocks(&m_in) > 0) {
            const double* data = nullptr;
            reinterpret_cast<TCIOStream*>(GetMessageA(35, 0))->PeekDblData(0, data, nullptr, nullptr);
            blocks.push_back(data);
            EXPECT_EQ(Read(&m_in), 0);
            for (double v : m_in)
                sum += v;
            marks.push_back(GetInputStatus(&m_in));
            EXPECT_EQ(ReadInputStatus(&m_in), -1);
        }
        return TCBaseModuleEx::Fetch();
    }

    double sum = 0;
    std::vector<const double*> blocks;
    std::vector<int> marks;

private:
    TCArray<double, double> m_in;
};

// The host's start and stop for the modules beside the harness's one.
void StartAside(TCBaseModule& m)
{
    m.ComputeValidationData(CF_HOST);
    ASSERT_EQ(m.Init(), 0);
    m.GetMessageA(44, 5);
    m.GetMessageA(46, 1);
}

void StopAside(TCBaseModule& m)
{
    m.GetMessageA(46, 0);
    m.GetMessageA(44, 6);
    m.Done();
    m.DeleteStreams();
}

int SendParameter(TCModuleHarness& host, double value)
{
    return host.WriteWith(0, [&](TCIOStream& s) {
        s.StartWriteSegments();
        s.WriteSegment("Gain", value);
        return s.EndWriteSegments() ? 0 : -1;
    });
}

// generator -> gain -> {the harness's collector, a sink module}
TEST(TCBaseModuleEx, AGainBetweenAGeneratorAndTwoSinks)
{
    Generator gen(11);
    Gain gain;
    Sink sink;
    TCModuleHarness host(gain);
    host.LeaveUnwired(PT_INPUT, 2);
    // The lines a host draws: the reader's input stream, the line at both ends, the fan.
    gain.AddLine(PT_INPUT, 2);
    gen.AddLine(PT_OUTPUT, 0);
    gen.AddOutputStream(0, gain.SetInputStream(2, 0, 3));
    sink.AddLine(PT_INPUT, 0);
    gain.AddLine(PT_OUTPUT, 0);
    gain.AddOutputStream(0, sink.SetInputStream(0, 0, 3));
    ASSERT_EQ(host.Start(), 0);
    StartAside(gen);
    StartAside(sink);

    // Refused first: the value waits in the shadow, clamped to the bound.
    ASSERT_EQ(SendParameter(host, 15.0), 0);
    host.Run(4);
    EXPECT_EQ(gain.parameterReads, std::vector<int>{1});
    EXPECT_EQ(gain.gain, 2.0);
    EXPECT_EQ(gain.GetParameter(gain.gain), 10.0);
    gain.accept = true;
    ASSERT_EQ(SendParameter(host, 15.0), 0);
    host.Run(4);
    EXPECT_EQ(gain.gain, 10.0);

    int g = 0;
    for (int cycle = 0; cycle < 100 && g != 2; ++cycle) {
        g = gen.Fetch();
        host.Run(4);
        sink.Fetch();
    }
    EXPECT_EQ(g, 2);
    const int n = host.OutputBlockCnt(0);
    ASSERT_EQ(n, 11);
    double collected = 0;
    std::vector<const double*> blocks;
    std::vector<int> marks;
    for (int b = 0; b < n; ++b) {
        for (double v : host.OutputDoubles(0, b))
            collected += v;
        const double* data = nullptr;
        host.Collector(0)->PeekDblData(b, data, nullptr, nullptr);
        blocks.push_back(data);
        marks.push_back(host.OutputTI(0, b)->State);
    }
    EXPECT_DOUBLE_EQ(collected, 10 * gen.sum);
    EXPECT_DOUBLE_EQ(sink.sum, 10 * gen.sum);
    EXPECT_EQ(sink.blocks, blocks);
    EXPECT_EQ(sink.marks, gen.marks);
    EXPECT_EQ(marks, gen.marks);

    host.Stop();
    StopAside(gen);
    StopAside(sink);
}

// Exposes the protected members to the tests.
class Probe : public TCBaseModuleEx {
public:
    Probe() : TCBaseModuleEx(0) {}
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Probe"; }
    using TCBaseModuleEx::Bind;
    using TCBaseModuleEx::GetInputStatus;
    using TCBaseModuleEx::Read;
    using TCBaseModuleEx::ReadInputStatus;
    using TCBaseModuleEx::SearchInputInfo;
    using TCBaseModuleEx::SearchOutputInfo;
    using TCBaseModuleEx::Write;
};

TEST(TCBaseModuleEx, BindingRules)
{
    Probe m;
    TCPortHelper& h = *m.GetPortHelper();
    int x = 0;
    CString err;
    double level = 0.75;
    EXPECT_EQ(m.Input("X", x), 0);
    EXPECT_EQ(m.Input("X again", x), -1);
    EXPECT_EQ(m.Output("X", x), 0);
    EXPECT_EQ(m.Output("X", err), 1);
    EXPECT_EQ(m.Output("Error", err), -1);
    CString err2;
    EXPECT_EQ(m.Output("Error", err2), 2);
    unsigned in = 9, out = 8;
    h.DataType(PT_INPUT, 0, &in);
    h.DataType(PT_OUTPUT, 0, &out);
    EXPECT_EQ(in, out);  // one data type for the twins
    EXPECT_FALSE(m.SearchOutputInfo(&err)->IsErrorPort());
    EXPECT_TRUE(m.SearchOutputInfo(&err2)->IsErrorPort());
    EXPECT_EQ(m.GetPortHelper()->GetPortCnt(PT_OUTPUT), 3);
    for (void* v : {static_cast<void*>(&x), static_cast<void*>(&err), static_cast<void*>(&level)})
        EXPECT_EQ(m.ReadInputStatus(v), -1);
    EXPECT_EQ(m.GetInputStatus(&level), -1);
    EXPECT_EQ(m.InputExt(x), -1);  // inputs are bound already

    // Bound texts: "%lf" up to 10 characters, "%g" beyond; the value published with "%g".
    Probe p;
    int selector = 1;
    EXPECT_EQ(p.InputExt(selector), 0);
    EXPECT_EQ(p.Parameter("Level of detail", level, 0.5, 1e12), 0);
    EXPECT_EQ(p.Parameter("Count", x, -3, 7), 1);
    p.ComputeValidationData(CF_HOST);
    EXPECT_STREQ(p.GetPortHelper()->GetPortType(PT_INPUT, 0, nullptr),
                 "DOUBLE{Level_of_detail:0.500000..1e+12(0.75)} SWORD{Count:-3..7(0)}");
    EXPECT_EQ(p.GetParameter(level), 0.75);
    EXPECT_EQ(p.GetParameter(selector), -1);

    // Without InputExt the parameters have no input: the module must not run. A variable of
    // open kind gets a port of no type yet; the parameter set, none.
    Probe q;
    EXPECT_EQ(q.Parameter("P", x), 0);
    EXPECT_EQ(q.Bind(PT_INPUT, "Any", &level, TCBaseModuleEx::DTYPE_ANY, nullptr, nullptr), 0);
    EXPECT_EQ(q.Bind(PT_INPUT, "Set", &err, TCBaseModuleEx::DTYPE_PARAMETERS, nullptr, nullptr), 1);
    EXPECT_EQ(q.GetPortHelper()->DataType(PT_INPUT, 0, nullptr), (unsigned long)TCPortHelper::DT_UNDEFINED);
    EXPECT_EQ(q.GetNoInput(), 1);
    EXPECT_EQ(q.Init(), -3);

    p.RemoveAllInfo();
    EXPECT_EQ(p.GetPortHelper()->GetPortCnt(PT_INPUT), 0);
    EXPECT_EQ(p.GetExtPar(), nullptr);
    EXPECT_EQ(p.Input("Again", x), 0);
}

// The error port carries the text while the graph runs; stopped, the host gets a record.
TEST(TCBaseModuleEx, ErrorTextsGoToTheErrorPortWhileRunning)
{
    Probe m;
    CString err;
    ASSERT_EQ(m.ErrorOutput(err), 0);
    TCModuleHarness host(m);
    ASSERT_EQ(host.Start(), 0);
    err = "no signal";
    EXPECT_EQ(m.Write(&err), 0);
    ASSERT_EQ(host.OutputBlockCnt(0), 1);
    EXPECT_EQ(std::string(host.OutputTexts(0, 0)[0]), "no signal");
    EXPECT_EQ(std::string(host.OutputTI(0, 0)->Name), "Error");
    host.Stop();
    EXPECT_EQ(m.WriteError(err, ""), -2);
    ASSERT_EQ(host.HostRecords().GetSize(), 1);
    EXPECT_EQ(std::string(host.HostRecords()[0].text), "no signal");
}

bool Same(int a, int b) { return a == b; }
bool Same(double a, double b) { return a == b; }
bool Same(const CString& a, const CString& b) { return a.GetLength() == b.GetLength() && a == b; }
bool Same(const TCString& a, const TCString& b) { return a == b; }
template <class T, class A>
bool Same(const CArray<T, A>& a, const CArray<T, A>& b)
{
    bool same = a.GetSize() == b.GetSize();
    for (int i = 0; same && i < a.GetSize(); ++i)
        same = Same(a[i], b[i]);
    return same;
}
template <class M, class T>
bool Same(const M& a, const MyInternalMatrix<T>& b)
{
    bool same = a.GetRows() == b.GetRows() && a.GetCols() == b.GetCols();
    for (unsigned i = 0; same && i < b.GetRows() * b.GetCols(); ++i)
        same = a.GetData()[i] == b.GetData()[i];
    return same;
}

template <class T>
TCArray<T, T> Values(std::initializer_list<T> list)
{
    TCArray<T, T> a;
    for (const T& v : list)
        a.Add(v);
    return a;
}

// One row: the output bound from `sent`, its block looped back into the module's own input,
// read into a variable of the input's kind and compared with `expected`.
template <class I, class O, class BindIn, class BindOut>
void RoundTrip(const char* what, int kind, unsigned long code, const O& sent, const I& expected, BindIn bindIn,
               BindOut bindOut)
{
    SCOPED_TRACE(what);
    Probe m;
    I in{};
    O out = sent;
    ASSERT_EQ(bindIn(m, in), 0);
    ASSERT_EQ(bindOut(m, out), 0);
    EXPECT_EQ(m.SearchInputInfo(&in)->GetDataType(), kind);
    EXPECT_EQ(m.GetPortHelper()->DataType(PT_INPUT, 0, nullptr), code);
    m.AddLine(PT_INPUT, 0);
    m.AddLine(PT_OUTPUT, 0);
    m.AddOutputStream(0, m.SetInputStream(0, 0, 3));
    ASSERT_EQ(m.Init(), 0);
    EXPECT_EQ(m.Read(&in), 0);  // nothing waits
    EXPECT_EQ(m.Write(&out), 1);
    EXPECT_EQ(m.Read(&in), 0);
    EXPECT_TRUE(Same(in, expected));
    EXPECT_EQ(m.GetInputStatus(&in), TCBS_COMPLETE);
    m.DeleteStreams();
}

typedef TCBaseModuleEx B;
const unsigned long TI = TCPortHelper::DT_TYPEINFO;

TEST(TCBaseModuleEx, EveryKindWrittenAndReadBack)
{
    const auto inPlain = [](Probe& m, auto& x) { return m.Input("In", x); };
    const auto outPlain = [](Probe& m, auto& x) { return m.Output("Out", x); };
    const auto inArray1 = [](Probe& m, auto& x) { return m.Input("In", x, B::VAT_ARRAY1); };
    const auto outArray1 = [](Probe& m, auto& x) { return m.Output("Out", x, B::VAT_ARRAY1); };
    const auto inTrigger = [](Probe& m, auto& x) { return m.Input("In", x, B::VAT_TRIGGER); };

    RoundTrip("int", B::DTYPE_INT, TI | TCPortHelper::DT_SWORD, -7, -7, inPlain, outPlain);
    RoundTrip("double", B::DTYPE_DOUBLE, TI | TCPortHelper::DT_DOUBLE, 0.1, 0.1, inPlain, outPlain);
    RoundTrip("int vector", B::DTYPE_INT_ARRAY, TI | TCPortHelper::DT_SWORD_ARRAY, Values({3, -1, 4}),
              Values({3, -1, 4}), inPlain, outPlain);
    RoundTrip("int [1]", B::DTYPE_INT_VAR, TI | TCPortHelper::DT_SWORD_1, 9, 9, inArray1, outArray1);
    RoundTrip("int trigger", B::DTYPE_INT_TRIGGER, TI | TCPortHelper::DT_SWORD_1, 9, 1, inTrigger, outArray1);
    RoundTrip("int vector [1]", B::DTYPE_INT_VECTOR_VAR, TI | TCPortHelper::DT_SWORD_1, 5, Values({5}), inArray1,
              outArray1);
    RoundTrip("int vector trigger", B::DTYPE_INT_VECTOR_TRIGGER, TI | TCPortHelper::DT_SWORD_1, 0, Values({0}),
              inTrigger, outArray1);
    RoundTrip("double vector", B::DTYPE_DOUBLE_ARRAY, TI | TCPortHelper::DT_DOUBLE_ARRAY, Values({0.5, -1e300}),
              Values({0.5, -1e300}), inPlain, outPlain);
    RoundTrip("double [1]", B::DTYPE_DOUBLE_VAR, TI | TCPortHelper::DT_DOUBLE_1, 2.5, 2.5, inArray1, outArray1);
    RoundTrip("double vector [1]", B::DTYPE_DOUBLE_VECTOR_VAR, TI | TCPortHelper::DT_DOUBLE_1, -0.0,
              Values({-0.0}), inArray1, outArray1);
    RoundTrip("CString", B::DTYPE_CSTRING, TI | TCPortHelper::DT_STRING, CString("a\0b", 3), CString("a\0b", 3),
              inPlain, outPlain);
    RoundTrip("TCString", B::DTYPE_TCSTRING, TI | TCPortHelper::DT_STRING, TCString("\xc3\xa4"),
              TCString("\xc3\xa4"), inPlain, outPlain);
    TCArray<TCString> texts;
    texts.Add("one");
    texts.Add("");
    RoundTrip("TCString array", B::DTYPE_TCSTRING_ARRAY, TI | TCPortHelper::DT_STRING_ARRAY, texts, texts,
              inPlain, outPlain);
    CStringArray ctexts;
    ctexts.Add("x");
    ctexts.Add(CString("y\0z", 3));
    RoundTrip("CStringArray", B::DTYPE_CSTRING_ARRAY, TI | TCPortHelper::DT_STRING_ARRAY, ctexts, ctexts,
              inPlain, outPlain);
    MyInternalMatrix<int> im(2, 3);
    for (int i = 0; i < 6; ++i)
        im.GetData()[i] = i * i - 4;
    RoundTrip("int matrix", B::DTYPE_INT_MATRIX, TI | TCPortHelper::DT_SWORD_MATRIX, im, im, inPlain, outPlain);
    MyInternalMatrix<double> dm(3, 1);
    for (int i = 0; i < 3; ++i)
        dm.GetData()[i] = i / 3.0;
    RoundTrip("double matrix", B::DTYPE_DOUBLE_MATRIX, TI | TCPortHelper::DT_DOUBLE_MATRIX, dm, dm, inPlain,
              outPlain);
}

// A read-only matrix is attached to the block's data instead of a copy.
TEST(TCBaseModuleEx, AReadOnlyMatrixRefersToTheBlock)
{
    Probe m;
    MyReadonlyMatrix<double> in;
    MyInternalMatrix<double> out(2, 2);
    for (int i = 0; i < 4; ++i)
        out.GetData()[i] = i + 0.5;
    ASSERT_EQ(m.Input("In", in), 0);
    ASSERT_EQ(m.Output("Out", out), 0);
    EXPECT_TRUE(m.SearchInputInfo(&in)->IsReadOnly());
    m.AddLine(PT_INPUT, 0);
    m.AddLine(PT_OUTPUT, 0);
    m.AddOutputStream(0, m.SetInputStream(0, 0, 3));
    ASSERT_EQ(m.Init(), 0);
    EXPECT_EQ(m.Write(&out), 1);
    EXPECT_EQ(m.Read(&in), 0);
    EXPECT_TRUE(Same(in, out));
    EXPECT_NE(in.GetData(), nullptr);
    m.DeleteStreams();
}

}  // namespace
