// Counts the heap allocations of bound variables written and read by address once the blocks
// flow steadily: there are none, for an int, a double, 1024 doubles and a text.
#include <gtest/gtest.h>

#include "corekit80/modules/TCBaseModuleEx.h"
#include "corekit80/streams/alloc/AllocCounter_test.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

// Binds one variable of each kind on ports 0 to 3, as inputs or as outputs.
class Bound : public TCBaseModuleEx {
public:
    explicit Bound(bool input) : TCBaseModuleEx(0)
    {
        if (input) {
            Input("Int", i);
            Input("Double", d);
            Input("Doubles", many);
            Input("Text", text);
        } else {
            Output("Int", i);
            Output("Double", d);
            Output("Doubles", many);
            Output("Text", text);
        }
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Bound"; }
    using TCBaseModuleEx::CopyTypeInfo;
    using TCBaseModuleEx::GetInputStatus;
    using TCBaseModuleEx::Read;
    using TCBaseModuleEx::Write;

    int i = 0;
    double d = 0;
    TCArray<double, double> many;
    TCString text;
};

// One block of each kind from the writer to the reader; false when one did not arrive.
bool Step(Bound& w, Bound& r, int k)
{
    static const TCString texts[] = {"a text longer than any small-string buffer", "short", ""};
    w.i = k;
    w.d = k * 0.5;
    w.many[k % 1024] = k;
    w.text = texts[k % 3];
    bool ok = true;
    for (void* v : {static_cast<void*>(&w.i), static_cast<void*>(&w.d), static_cast<void*>(&w.many),
                    static_cast<void*>(&w.text)})
        ok = ok && w.Write(v) == 1;
    for (void* v : {static_cast<void*>(&r.i), static_cast<void*>(&r.d), static_cast<void*>(&r.many),
                    static_cast<void*>(&r.text)})
        ok = ok && r.Read(v) == 0;
    // The type information as a module that looks at it fetches it.
    return ok && r.GetInputStatus(&r.d) == TCBS_COMPLETE && r.i == k && r.d == k * 0.5 &&
           r.many.GetSize() == 1024 && r.many[k % 1024] == k && r.text == w.text;
}

TEST(TCBaseModuleExAlloc, BoundVariablesAllocateNothingInSteadyState)
{
    Bound w(false), r(true);
    w.many.SetSize(1024);
    for (int port = 0; port < 4; ++port) {
        void* stream = r.SetInputStream(port, 0, 3);
        r.AddLine(PT_INPUT, port);
        w.AddLine(PT_OUTPUT, port);
        w.AddOutputStream(port, stream);
    }
    for (TCBaseModule* m : {static_cast<TCBaseModule*>(&w), static_cast<TCBaseModule*>(&r)}) {
        m->ComputeValidationData(CF_HOST);
        ASSERT_EQ(m->Init(), 0);
        m->GetMessageA(44, 5);
        m->GetMessageA(46, 1);
    }
    for (int k = 0; k < 64; ++k)
        ASSERT_TRUE(Step(w, r, k)) << k;
    alloc_counter::Start();
    bool flowed = true;
    for (int k = 64; k < 1064 && flowed; ++k)
        flowed = Step(w, r, k);
    const long allocations = alloc_counter::Stop();
    EXPECT_TRUE(flowed);
    EXPECT_EQ(allocations, 0);
    for (TCBaseModule* m : {static_cast<TCBaseModule*>(&w), static_cast<TCBaseModule*>(&r)}) {
        m->Done();
        m->DeleteStreams();
    }
}

}  // namespace
