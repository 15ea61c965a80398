// Counts the heap allocations of a block buffer that reads each block of its input, writes
// it out again and removes it, once blocks flow steadily: the removed block serves the next
// one with its storage, so there are none.
#include <gtest/gtest.h>

#include <initializer_list>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/alloc/AllocCounter_test.h"

namespace {

using H = TCPortHelper;

enum Kind { K_INTS, K_DBL, K_DBLS, K_TEXT, K_TEXTS, K_INT_MAT, KINDS };

const unsigned long kTypes[KINDS] = {H::DT_SWORD_ARRAY, H::DT_DOUBLE,       H::DT_DOUBLE_ARRAY,
                                     H::DT_STRING,      H::DT_STRING_ARRAY, H::DT_SWORD_MATRIX};
const unsigned kCounts[KINDS] = {8, 1, 1024, 1, 4, 8};

// source -> middle, whose buffer passes each block on -> sink.
struct Chain {
    explicit Chain(unsigned long code) : source(nullptr), middle(nullptr), sink(nullptr)
    {
        source.SetPort(PT_OUTPUT, 0, "Out", code);
        middle.SetPort(PT_INPUT, 0, "In", code);
        middle.SetPort(PT_OUTPUT, 0, "Out", code);
        sink.SetPort(PT_INPUT, 0, "In", code);
        source.AddOutputStream(0, middle.SetInputStream(0, 0, 3));
        middle.AddOutputStream(0, sink.SetInputStream(0, 0, 3));
        buffer.SetPortHelper(&middle);
        for (int k = 0; k < 6; ++k)
            texts[k] = TCString::FormatS("text number %d, sixteen and more", k);
    }
    ~Chain()
    {
        buffer.RemoveAll(true);
        for (H* h : {&source, &middle, &sink})
            h->DeleteStreams();
    }
    // One block through the buffer; false when it did not arrive as written.
    bool Step(Kind kind, int i)
    {
        ints[0] = i;
        doubles[0] = i;
        unsigned cols = 4, n = 0, rows = 0;
        const void* data = kind == K_INTS || kind == K_INT_MAT ? static_cast<const void*>(ints)
                           : kind == K_TEXT || kind == K_TEXTS ? static_cast<const void*>(texts + i % 2)
                                                               : doubles;
        if (source.WritePolymorphicData(0, kCounts[kind], data, &cols) != 1 || buffer.ReadBlock(0, false) != 1 ||
            buffer.WriteBlock(0, 0) != 1 || sink.ReadInternalData(0) <= 0)
            return false;
        buffer.RemoveAt(0, false);
        switch (kind) {
        case K_INTS: return sink.AccessIntData(0, n)[0] == i && n == 8;
        case K_INT_MAT: return sink.AccessIntMatrix(0, rows, cols)[0] == i && rows == 2;
        case K_TEXT: return sink.AccessStringData(0, n)[0] == texts[i % 2];
        case K_TEXTS: return sink.AccessStringData(0, n)[3] == texts[i % 2 + 3] && n == 4;
        default: return sink.AccessDblData(0, n)[0] == i && n == kCounts[kind];
        }
    }

    H source, middle, sink;
    TCBlockBuffer buffer;
    int ints[8] = {};
    double doubles[1024] = {};
    TCString texts[6];
};

TEST(TCBlockBufferAlloc, RecycledBlocksAllocateNothingInSteadyState)
{
    for (int kind = 0; kind < KINDS; ++kind)
        for (bool typeInfo : {false, true}) {
            Chain c(kTypes[kind] | (typeInfo ? (unsigned long)H::DT_TYPEINFO : 0ul));
            for (int i = 0; i < 64; ++i)
                ASSERT_TRUE(c.Step(Kind(kind), i)) << kind << " " << typeInfo << " " << i;
            alloc_counter::Start();
            bool flowed = true;
            for (int i = 0; i < 1000 && flowed; ++i)
                flowed = c.Step(Kind(kind), i);
            const long allocations = alloc_counter::Stop();
            EXPECT_TRUE(flowed) << kind << " " << typeInfo;
            EXPECT_EQ(allocations, 0) << "kind " << kind << (typeInfo ? " with" : " without") << " type information";
        }
}

}  // namespace
