// Counts the heap allocations of typed writes and reads between two port helpers once the
// blocks flow steadily: there are none, with type information or without.
#include <gtest/gtest.h>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperTyped_test.h"
#include "corekit80/streams/alloc/AllocCounter_test.h"

namespace {

using namespace port_typed_test;

enum Kind { K_INTS, K_DBL, K_DBLS, K_DBL_ARRAY, K_TEXT, K_TEXTS, K_INT_MAT, K_PTR, KINDS };

const unsigned long kTypes[KINDS] = {H::DT_SWORD_ARRAY, H::DT_DOUBLE, H::DT_DOUBLE_ARRAY, H::DT_DOUBLE_ARRAY,
                                     H::DT_STRING,      H::DT_STRING_ARRAY, H::DT_SWORD_MATRIX, H::DT_POINTER};

// One block of kind written and read back; false when it did not arrive as written.
struct Flow {
    bool Step(Kind kind, int i)
    {
        H& w = p.w;
        H& r = p.r;
        unsigned n = 1024, rows = 0, cols = 0;
        void* ptr = nullptr;
        int* m = nullptr;
        ints[0] = i;
        doubles[0] = i;
        switch (kind) {
        case K_INTS:
            return w.WriteIntData(0, 8, ints) == 1 && r.ReadIntData(0, n, readInts) == 8 && readInts[0] == i;
        case K_DBL:
            return w.WriteDblVal(0, doubles[0]) == 1 && r.ReadDblLastVal(0, readDoubles[0], false) == 1 &&
                   readDoubles[0] == i;
        case K_DBLS:
            return w.WriteDblData(0, 1024, doubles) == 1 && r.ReadDblData(0, n, readDoubles) == 1024 &&
                   readDoubles[0] == i;
        case K_DBL_ARRAY:
            array[0] = i;
            return w.WriteDblArray(0, array) == 1 && r.ReadDblArray(0, readArray) == 16 && readArray[0] == i;
        case K_TEXT:
            return w.WriteStringVal(0, texts[i % 4]) == 1 && r.ReadString(0, readTexts[0]) == 1 &&
                   readTexts[0] == texts[i % 4];
        case K_TEXTS:
            n = 4;
            return w.WriteStringData(0, 4, texts) == 1 && r.ReadStringData(0, n, readTexts) == 4 &&
                   readTexts[3] == texts[3];
        case K_INT_MAT:
            return w.WriteIntMatrix(0, 2, 4, ints) == 1 && r.ReadIntMatrix(0, rows, cols, &m) == 8 && m == ints;
        default:
            return w.WriteValAndPtr(0, 3, ints) == 1 && r.ReadValAndPtr(0, n, &ptr) == 1 && ptr == ints && n == 3;
        }
    }

    explicit Flow(unsigned long code) : p(code)
    {
        array.SetSize(16);
        for (int k = 0; k < 4; ++k)
            texts[k] = TCString::FormatS("text number %d, sixteen and more", k);
    }
    Pair p;
    int ints[8] = {};
    int readInts[8] = {};
    double doubles[1024] = {};
    double readDoubles[1024] = {};
    TCArray<double, double> array, readArray;
    TCString texts[4], readTexts[4];
};

TEST(TCPortHelperAlloc, TypedBlocksAllocateNothingInSteadyState)
{
    for (int kind = 0; kind < KINDS; ++kind)
        for (bool typeInfo : {false, true}) {
            Flow f(kTypes[kind] | (typeInfo ? (unsigned long)H::DT_TYPEINFO : 0ul));
            for (int i = 0; i < 64; ++i)
                ASSERT_TRUE(f.Step(Kind(kind), i)) << kind << " " << typeInfo << " " << i;
            EXPECT_EQ(f.p.r.GetTypeInfo(0, nullptr), typeInfo ? TCBS_COMPLETE : -1);
            alloc_counter::Start();
            bool flowed = true;
            for (int i = 0; i < 1000 && flowed; ++i)
                flowed = f.Step(Kind(kind), i);
            const long allocations = alloc_counter::Stop();
            EXPECT_TRUE(flowed) << kind << " " << typeInfo;
            EXPECT_EQ(allocations, 0) << "kind " << kind << (typeInfo ? " with" : " without") << " type information";
        }
}

TEST(TCPortHelperAlloc, TheCounterSeesAllocations)
{
    alloc_counter::Start();
    TCString* s = new TCString("counted");
    const long allocations = alloc_counter::Stop();
    delete s;
    EXPECT_GE(allocations, 2);
}

}  // namespace
