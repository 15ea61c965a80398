// The port helper: declaring ports, names, lines and backups, the error record, dynamic ports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelper_test.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using namespace port_helper_test;

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

}  // namespace
