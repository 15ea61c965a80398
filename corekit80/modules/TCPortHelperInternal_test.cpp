// Matrices and the ports' internal buffers: reads into them, comparisons, allocations written
// out, and the calls whose value kind the port's type chooses.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperTyped_test.h"

namespace {

using namespace port_typed_test;

const unsigned long kIntMatrix = H::DT_SWORD_MATRIX | H::DT_TYPEINFO;
const unsigned long kDblMatrix = H::DT_DOUBLE_MATRIX | H::DT_TYPEINFO;

TEST(TCPortHelperInternal, MatricesTravelByReference)
{
    std::mt19937 rng(99);
    for (int trial = 0; trial < 20; ++trial) {
        const unsigned rows = 1 + rng() % 7, cols = 1 + rng() % 9;
        std::vector<int> iv(rows * cols);
        std::vector<double> dv(rows * cols);
        for (size_t i = 0; i < iv.size(); ++i) {
            iv[i] = int(rng());
            dv[i] = double(int(rng())) / 7;
        }
        Pair ip(kIntMatrix), dp(kDblMatrix);
        ASSERT_EQ(ip.w.WriteIntMatrix(0, rows, cols, iv.data()), 1);
        ASSERT_EQ(dp.w.WriteDblMatrix(0, rows, cols, dv.data()), 1);
        unsigned r = 0, c = 0;
        int* idata = nullptr;
        double* ddata = nullptr;
        ASSERT_EQ(ip.r.ReadIntMatrix(0, r, c, &idata), int(rows * cols));
        EXPECT_EQ(r, rows);
        EXPECT_EQ(c, cols);
        EXPECT_EQ(idata, iv.data());  // the writer's memory
        ASSERT_EQ(dp.r.ReadDblMatrix(0, r, c, &ddata), int(rows * cols));
        EXPECT_EQ(ddata, dv.data());
        EXPECT_EQ(r, rows);
        EXPECT_EQ(c, cols);
    }
}

TEST(TCPortHelperInternal, ASecondMatrixWaitsUnlessSeveralAreAllowed)
{
    const int m[] = {1, 2, 3, 4};
    Pair p(H::DT_SWORD_MATRIX);  // without type information: complete blocks may queue up
    ASSERT_EQ(p.w.WriteIntMatrix(0, 2, 2, m), 1);
    EXPECT_EQ(p.w.WriteIntMatrix(0, 2, 2, m), -19);
    EXPECT_EQ(p.w.GetErrMsg().code, -19);
    EXPECT_EQ(p.w.FailedFan(0), 0);
    p.w.AllowMultipleMatrices(0, true);
    EXPECT_EQ(p.w.WriteIntMatrix(0, 1, 4, m), 1);
    EXPECT_EQ(p.Waiting(), 2);
    EXPECT_EQ(p.w.WriteIntMatrix(0, 0, 4, m), 0);
    EXPECT_EQ(p.w.WriteIntMatrix(0, 0x10000u, 0x10000u, m), -14);
    Pair vector("SWORD[]");
    EXPECT_EQ(vector.w.WriteIntMatrix(0, 2, 2, m), 0);  // not a matrix type
    unsigned r, c;
    int* data = nullptr;
    ASSERT_EQ(vector.w.WriteIntData(0, 4, m), 1);
    EXPECT_EQ(vector.r.ReadIntMatrix(0, r, c, &data), 0);
    EXPECT_EQ(vector.Waiting(), 1);
}

TEST(TCPortHelperInternal, AllocationsFollowTheFamilies)
{
    const struct {
        unsigned long code;
        bool ints, dbls, texts;
    } cases[] = {
        {H::DT_SWORD, true, false, false},          {H::DT_SWORD_ARRAY, true, false, false},
        {H::DT_SWORD_MATRIX, true, false, false},   {H::DT_DOUBLE, false, true, false},
        {H::DT_DOUBLE_ARRAY, false, true, false},   {H::DT_DOUBLE_MATRIX, false, true, false},
        {H::DT_STRING, false, false, true},         {H::DT_STRING_ARRAY, false, false, true},
        {H::DT_MULTITYPE, false, false, false},
    };
    for (const auto& c : cases) {
        H h(nullptr);
        h.SetPort(PT_OUTPUT, 0, "Out", c.code);
        EXPECT_EQ(h.AllocIntData(0, 3) != nullptr, c.ints) << std::hex << c.code;
        EXPECT_EQ(h.AllocIntMatrix(0, 2, 3) != nullptr, c.ints) << std::hex << c.code;
        EXPECT_EQ(h.AllocDblData(0, 3) != nullptr, c.dbls) << std::hex << c.code;
        EXPECT_EQ(h.AllocDblMatrix(0, 2, 3) != nullptr, c.dbls) << std::hex << c.code;
        EXPECT_EQ(h.AllocStringData(0, 3) != nullptr, c.texts) << std::hex << c.code;
        EXPECT_EQ(h.AllocIntData(1, 3), nullptr);
    }
    H h(nullptr);
    h.SetPort(PT_OUTPUT, 0, "Out", H::DT_DOUBLE_MATRIX);
    EXPECT_EQ(h.AllocDblMatrix(0, 0x10000u, 0x10000u), nullptr);
    EXPECT_EQ(h.AllocDblData(0, 0x80000000u), nullptr);
}

TEST(TCPortHelperInternal, AllocatedBuffersReachTheReadersBuffer)
{
    {
        Pair p("SWORD[]");
        int* out = p.w.AllocIntData(0, 5);
        ASSERT_NE(out, nullptr);
        for (int i = 0; i < 5; ++i)
            out[i] = i * i;
        ASSERT_EQ(p.w.WriteInternalData(0), 1);
        ASSERT_EQ(p.r.ReadInternalData(0), 5);
        unsigned n = 0;
        const int* in = p.r.AccessIntData(0, n);
        ASSERT_EQ(n, 5u);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(in[i], i * i);
        unsigned r, c;
        EXPECT_EQ(p.r.AccessIntMatrix(0, r, c), nullptr);  // a vector, not a matrix
        EXPECT_EQ(p.r.AccessDblData(0, n), nullptr);
        EXPECT_EQ(n, 0u);
    }
    {
        Pair p(kDblMatrix);
        double* out = p.w.AllocDblMatrix(0, 2, 3);
        ASSERT_NE(out, nullptr);
        for (int i = 0; i < 6; ++i)
            out[i] = i + 0.5;
        ASSERT_EQ(p.w.WriteInternalData(0), 1);
        ASSERT_EQ(p.r.ReadInternalData(0), 6);
        unsigned r = 0, c = 0;
        const double* in = p.r.AccessDblMatrix(0, r, c);
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(r, 2u);
        EXPECT_EQ(c, 3u);
        EXPECT_NE(in, out);  // the reader keeps a copy
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(in[i], i + 0.5);
        // The same buffer as a 3 x 2 matrix; more than it holds writes nothing.
        ASSERT_EQ(p.w.WriteInternalMatrix(0, 3, 2), 1);
        ASSERT_EQ(p.r.ReadInternalData(0), 6);
        p.r.AccessDblMatrix(0, r, c);
        EXPECT_EQ(r, 3u);
        EXPECT_EQ(p.w.WriteInternalMatrix(0, 3, 3), 0);
    }
    {
        Pair p("UBYTE[][]");
        TCString* out = p.w.AllocStringData(0, 2);
        ASSERT_NE(out, nullptr);
        out[0] = "alpha";
        out[1] = "beta";
        ASSERT_EQ(p.w.WriteInternalData(0), 1);
        ASSERT_EQ(p.r.ReadInternalData(0), 2);
        unsigned n = 0;
        const TCString* in = p.r.AccessStringData(0, n);
        ASSERT_EQ(n, 2u);
        EXPECT_STREQ(in[1], "beta");
    }
    {
        // A block of another kind empties the buffer.
        Pair p("DOUBLE[]", true, "SWORD[]");
        ASSERT_EQ(p.w.WriteDblVal(0, 1), 1);
        EXPECT_EQ(p.r.ReadInternalData(0), 0);
        unsigned n = 7;
        EXPECT_EQ(p.r.AccessIntData(0, n), nullptr);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(p.r.ReadInternalData(0), 0);  // nothing waiting
    }
}

TEST(TCPortHelperInternal, TheWaitingBlockIsComparedWithTheBuffer)
{
    const struct {
        std::vector<int> first, second;
        int expected;
    } cases[] = {
        {{1, 2, 3}, {1, 2, 3}, 0},
        {{1, 2, 3}, {1, 2, 4}, 1},
        {{1, 2, 3}, {1, 2}, 1},
        {{7}, {7}, 0},
    };
    for (const auto& c : cases) {
        Pair p("SWORD[]", false);
        ASSERT_EQ(p.w.WriteIntData(0, unsigned(c.first.size()), c.first.data()), 1);
        ASSERT_EQ(p.r.ReadInternalData(0), int(c.first.size()));
        EXPECT_EQ(p.r.CompareWithInternalData(0), 0);  // nothing waiting
        ASSERT_EQ(p.w.WriteIntData(0, unsigned(c.second.size()), c.second.data()), 1);
        EXPECT_EQ(p.r.CompareWithInternalData(0), c.expected);
        EXPECT_EQ(p.Waiting(), 1);  // not consumed
    }
    // Matrices compare their shapes too; texts byte for byte.
    const int m[] = {1, 2, 3, 4, 5, 6};
    Pair mp(H::DT_SWORD_MATRIX);
    ASSERT_EQ(mp.w.WriteIntMatrix(0, 2, 3, m), 1);
    ASSERT_EQ(mp.r.ReadInternalData(0), 6);
    ASSERT_EQ(mp.w.WriteIntMatrix(0, 3, 2, m), 1);
    EXPECT_EQ(mp.r.CompareWithInternalData(0), 1);
    Pair tp("UBYTE[][]", false);
    const TCString a[] = {TCString("x\0a", 3)}, b[] = {TCString("x\0b", 3)};
    ASSERT_EQ(tp.w.WriteStringData(0, 1, a), 1);
    ASSERT_EQ(tp.r.ReadInternalData(0), 1);
    ASSERT_EQ(tp.w.WriteStringData(0, 1, a), 1);
    EXPECT_EQ(tp.r.CompareWithInternalData(0), 0);
    tp.r.ClearStream(0, true);
    ASSERT_EQ(tp.w.WriteStringData(0, 1, b), 1);
    EXPECT_EQ(tp.r.CompareWithInternalData(0), 1);
}

TEST(TCPortHelperInternal, PolymorphicCallsFollowThePortType)
{
    const int iv[] = {1, 2, 3, 4, 5, 6};
    const double dv[] = {0.5, 1.5};
    unsigned size = 0, n = 8;
    {
        Pair p("SWORD[]", false);
        ASSERT_EQ(p.w.WritePolymorphicData(0, 6, iv, nullptr), 1);
        int got[8];
        EXPECT_EQ(p.r.ReadPolymorphicData(0, n, got, &size), 6);
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(got[5], 6);
    }
    {
        Pair p("DOUBLE[]", false);
        ASSERT_EQ(p.w.WritePolymorphicData(0, 2, dv, nullptr), 1);
        double got[8];
        n = 8;
        EXPECT_EQ(p.r.ReadPolymorphicData(0, n, got, &size), 2);
        EXPECT_EQ(size, 8u);
        EXPECT_EQ(got[1], 1.5);
    }
    {
        Pair p(H::DT_SWORD_MATRIX);
        unsigned cols = 0;
        EXPECT_EQ(p.w.WritePolymorphicData(0, 6, iv, &cols), 0);
        EXPECT_EQ(p.w.WritePolymorphicData(0, 6, iv, nullptr), 0);
        cols = 3;
        ASSERT_EQ(p.w.WritePolymorphicData(0, 6, iv, &cols), 1);
        unsigned r = 0, c = 0;
        int* data = nullptr;
        ASSERT_EQ(p.r.ReadIntMatrix(0, r, c, &data), 6);
        EXPECT_EQ(r, 2u);
        EXPECT_EQ(c, 3u);
    }
}

// Each kind of buffer is counted, cleared port by port and by the run's start and end; other
// ports and numbers out of range are left alone.
TEST(TCPortHelperInternal, BuffersAreCountedAndCleared)
{
    const struct {
        unsigned long code;
        unsigned elemSize;
        unsigned count;
        bool (*alloc)(H&);  // fills output 0 with count elements
    } cases[] = {
        {H::DT_SWORD_ARRAY | H::DT_TYPEINFO, 4, 5, [](H& h) { return h.AllocIntData(0, 5) != nullptr; }},
        {H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO, 8, 3, [](H& h) { return h.AllocDblData(0, 3) != nullptr; }},
        {H::DT_STRING_ARRAY | H::DT_TYPEINFO, 1, 2, [](H& h) { return h.AllocStringData(0, 2) != nullptr; }},
        {kIntMatrix, 4, 6, [](H& h) { return h.AllocIntMatrix(0, 2, 3) != nullptr; }},
        {kDblMatrix, 8, 12, [](H& h) { return h.AllocDblMatrix(0, 4, 3) != nullptr; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code);
        unsigned size = 99;
        // A buffer filled by the writer and copied by the reader.
        auto fill = [&](Pair& p) {
            ASSERT_TRUE(c.alloc(p.w));
            ASSERT_EQ(p.w.WriteInternalData(0), 1);
            ASSERT_EQ(p.r.ReadInternalData(0), int(c.count));
        };
        {
            Pair p(c.code);
            EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, &size), 0u);
            EXPECT_EQ(size, c.elemSize);
            fill(p);
            EXPECT_EQ(p.w.GetBufferSize(PT_OUTPUT, 0, &size), c.count);
            EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, nullptr), c.count);
            EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 1, &size), 0u);
            EXPECT_EQ(size, 0u);
            EXPECT_EQ(p.r.GetBufferSize(PT_OUTPUT, 0, &size), 0u);
            // Out of range or on the other list: nothing changes.
            p.r.ClearBuffer(PT_INPUT, 1);
            p.r.ClearBuffer(PT_OUTPUT, 0);
            p.w.ClearBuffer(PT_INPUT, 0);
            EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, nullptr), c.count);
            EXPECT_EQ(p.w.GetBufferSize(PT_OUTPUT, 0, nullptr), c.count);
            p.r.ClearBuffer(PT_INPUT, 0);
            EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, nullptr), 0u);
            unsigned n = 7, rows = 7, cols = 7;
            EXPECT_EQ(p.r.AccessIntData(0, n), nullptr);
            EXPECT_EQ(p.r.AccessDblData(0, n), nullptr);
            EXPECT_EQ(p.r.AccessStringData(0, n), nullptr);
            EXPECT_EQ(p.r.AccessDblMatrix(0, rows, cols), nullptr);
            EXPECT_EQ(n + rows + cols, 0u);
            p.w.ClearBuffers();
            EXPECT_EQ(p.w.GetBufferSize(PT_OUTPUT, 0, nullptr), 0u);
            EXPECT_EQ(p.w.WriteInternalData(0), 0);  // nothing left to write
        }
        {
            // The run's start and end empty every buffer.
            Pair p(c.code);
            fill(p);
            ASSERT_EQ(p.r.Init(), 0);
            EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, nullptr), 0u);
            ASSERT_EQ(p.w.Done(), 0);
            EXPECT_EQ(p.w.GetBufferSize(PT_OUTPUT, 0, nullptr), 0u);
        }
    }
}

// The newest-value reads go through the buffer, which counts what the last block held.
TEST(TCPortHelperInternal, NewestValueReadsFillTheBuffer)
{
    Pair p("DOUBLE[]");
    const double v[] = {1, 2, 3, 4};
    ASSERT_EQ(p.w.WriteDblData(0, 4, v), 1);
    double last = 0;
    ASSERT_EQ(p.r.ReadDblLastVal(0, last, true), 1);
    EXPECT_EQ(last, 4);
    unsigned size = 0;
    EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, &size), 4u);
    EXPECT_EQ(size, 8u);
    // Done frees the buffer along with the rest of the port's run state.
    ASSERT_EQ(p.r.Done(), 0);
    EXPECT_EQ(p.r.GetBufferSize(PT_INPUT, 0, nullptr), 0u);
    TCTypeInfo ti;
    EXPECT_EQ(p.r.GetTypeInfo(0, &ti), -1);
}

// A matrix still waiting at the reader outlives the writer's cleared buffer.
TEST(TCPortHelperInternal, ClearingKeepsAWaitingMatrixIntact)
{
    for (int how = 0; how < 4; ++how) {
        SCOPED_TRACE(how);
        Pair p(kIntMatrix);
        int* out = p.w.AllocIntMatrix(0, 2, 2);
        ASSERT_NE(out, nullptr);
        for (int i = 0; i < 4; ++i)
            out[i] = 10 + i;
        ASSERT_EQ(p.w.WriteInternalData(0), 1);
        if (how == 0)
            p.w.ClearBuffer(PT_OUTPUT, 0);
        else if (how == 1)
            p.w.ClearBuffers();
        else if (how == 2)
            ASSERT_EQ(p.w.Init(), 0);
        else
            ASSERT_EQ(p.w.Done(), 0);
        EXPECT_EQ(p.w.GetBufferSize(PT_OUTPUT, 0, nullptr), 0u);
        ASSERT_EQ(p.r.ReadInternalData(0), 4);
        unsigned r = 0, c = 0;
        const int* in = p.r.AccessIntMatrix(0, r, c);
        ASSERT_NE(in, nullptr);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(in[i], 10 + i);
    }
}

}  // namespace
