// Tests of blocks as old-stream text: bus channels, status, matrices, malformed text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "corekit80/streams/TCBusSerializeHelper.h"
#include "corekit80/streams/TCSerializeOldStream.h"
#include "corekit80/streams/TCIOStreamSerialize_test.h"

namespace {

using namespace serialize_test;

struct Channel { unsigned long code; const char* text; };
const Channel kChannels[] = {
    {0x1, "SWORD{BIN}"},         {0x2, "SWORD[1]{BIN}"},     {0x4, "SWORD[]{BIN}"},
    {0x10, "DOUBLE{SCALAR}"},    {0x20, "DOUBLE[1]{SCALAR}"}, {0x40, "DOUBLE[]{TIME_DOMAIN}"},
    {0x100, "UBYTE[]{Text}"},    {0x200, "UBYTE[][]{Text}"},
};

// Writes one random channel of c to the act block of s under the bus name of c.
void WriteChannel(TCIOStream& s, const Channel& c, int port, std::mt19937_64& rng, bool withTI)
{
    TCString name = TCBusSerializeHelper::GenSegmentName(c.code, c.text, 1, port, "seg", "");
    int n = (c.code & 0x111) ? 1 : int(rng() % 4) + 1;
    TCTypeInfo ti;
    RandomOptions o;
    RandomTypeInfo(ti, rng, o);
    const TCTypeInfo* pti = withTI ? &ti : nullptr;
    int ints[4];
    double doubles[4];
    TCString strings[4];
    for (int i = 0; i < n; ++i) {
        ints[i] = int(rng());
        doubles[i] = RandomDouble(rng, false);
        strings[i] = RandomBytes(rng, 5, false);
    }
    int r = (c.code & 0x7)    ? s.WriteBusSegment(name, ints, n, pti)
            : (c.code & 0x70) ? s.WriteBusSegment(name, doubles, n, pti)
                              : s.WriteBusSegment(name, strings, n, pti);
    ASSERT_EQ(r, 0);
}

TCString ReadBack(TCIOStream& s, const TCString& text)
{
    EXPECT_EQ(s.DeSerializeForOldStream(text, text.GetLength()), text.GetLength());
    return s.SerializeForOldStream();
}

TEST(TCIOStreamOldStream, RandomBusBlocksSettleAfterOnePass)
{
    std::mt19937_64 rng(42);
    for (int round = 0; round < 200; ++round) {
        Loopback a;
        a.s.StartWriteSegments();
        int segments = int(rng() % 3) + 1;
        for (int seg = 0; seg < segments; ++seg) {
            const Channel& c = kChannels[rng() % 8];
            int channels = int(rng() % 3) + 1;
            for (int ch = 0; ch < channels; ++ch)
                WriteChannel(a.s, c, seg, rng, rng() % 2);
        }
        a.s.EndWriteSegments();
        a.s.PeekBlock(0);
        Block original;
        ASSERT_TRUE(original.CopyFrom(*a.s.GetActBlock()));
        TCString first = a.s.SerializeForOldStream();
        ASSERT_FALSE(first.IsEmpty()) << round;
        ASSERT_EQ(a.s.DeSerializeForOldStream(first, first.GetLength()), first.GetLength());
        a.s.PeekBlock(0);
        // The values of every channel come back (the single-value types keep their one value).
        for (int seg = 0; seg < segments; ++seg) {
            Block** x = static_cast<Block**>(original.ValidSegment(seg)->m_pData);
            Block** y = static_cast<Block**>(a.s.GetActBlock()->ValidSegment(seg)->m_pData);
            for (int ch = 0; ch < original.ValidSegment(seg)->ElementCount(); ++ch)
                EXPECT_EQ(Diff(*x[ch], *y[ch], false), "") << round;
        }
        TCString second = a.s.SerializeForOldStream();
        EXPECT_EQ(ReadBack(a.s, second).CompareBin(second), 0) << round;
    }
}

TEST(TCIOStreamOldStream, StatusOfTheChannels)
{
    struct Case { TCBLOCKSTATUS first, last; TCBLOCKSTATUS read[3]; };
    const Case cases[] = {
        {TCBS_START, TCBS_STOP, {TCBS_START, TCBS_BUSY, TCBS_STOP}},
        {TCBS_BUSY, TCBS_STOP, {TCBS_BUSY, TCBS_BUSY, TCBS_STOP}},
        {TCBS_INVALID, TCBS_INVALID, {TCBS_BUSY, TCBS_BUSY, TCBS_BUSY}},
    };
    TCString name = TCBusSerializeHelper::GenSegmentName(0x1, "SWORD{BIN}", 1, 0, "", "");
    for (const Case& c : cases) {
        Loopback s;
        TCTypeInfo ti;
        const int v = 5;
        s.s.StartWriteSegments();
        for (int i = 0; i < 3; ++i) {
            ti.State = i == 0 ? c.first : i == 2 ? c.last : TCBS_BUSY;
            s.s.WriteBusSegment(name, &v, 1, c.first == TCBS_INVALID ? nullptr : &ti);
        }
        s.s.EndWriteSegments();
        TCString text = s.s.SerializeForOldStream();
        ASSERT_EQ(s.s.DeSerializeForOldStream(text, text.GetLength()), text.GetLength());
        s.s.RemoveBlock(true);
        Block** channels = static_cast<Block**>(s.s.GetActBlock()->ValidSegment(0)->m_pData);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(channels[i]->GetTI()->State, c.read[i]) << i;
    }
}

// A matrix travels as its address (the low 32 bits); a bus of buses as nested block texts.
TEST(TCIOStreamOldStream, MatricesAndBusesOfBuses)
{
    static int data[6];
    const double v[] = {1.5, 2.5};
    const int one = 1, two = 2;
    Block channel, bus;
    channel.SegmentForWrite("", false)->SetData(TCIOStream::DOUBLE, 1, &two, v, true);
    Block* channels[] = {&channel};
    TCString inner = TCBusSerializeHelper::GenSegmentName(0x40, "DOUBLE[]{TIME_DOMAIN}", 1, 0, "", "");
    bus.SegmentForWrite(inner, false)->SetData(TCIOStream::BLOCK, 1, &one, channels, true);
    TCArray<Block*> buses;
    buses.Add(&bus);
    buses.Add(&bus);
    Loopback s;
    s.s.StartWriteSegments();
    s.s.WriteBusSegment(TCBusSerializeHelper::GenSegmentName(0x8, "POINTER{SWORD[][]}", 1, 1, "", ""), data, 2, 3, false, nullptr);
    s.s.WriteSegment(TCBusSerializeHelper::GenSegmentName(0x1000000, "STRUCT_BUS{BUS}", 1, 3, "", ""), buses);
    s.s.EndWriteSegments();
    TCString first = s.s.SerializeForOldStream();
    ASSERT_FALSE(first.IsEmpty());
    TCString second = ReadBack(s.s, first);
    EXPECT_EQ(ReadBack(s.s, second).CompareBin(second), 0);
    ASSERT_EQ(s.s.DeSerializeForOldStream(second, second.GetLength()), second.GetLength());
    s.s.RemoveBlock(true);
    // Read back, the matrix channel is named by the code of its type text.
    Block* read = s.s.GetActBlock();
    TCString matrixName = TCBusSerializeHelper::GenSegmentName(0x10000008, "POINTER{SWORD[][]}", 1, 1, "", "");
    const DataSegment* matrix = static_cast<Block**>(read->FindSegment(matrixName, true)->m_pData)[0]->ValidSegment(0);
    EXPECT_EQ(matrix->m_nDims * 100 + matrix->m_dims[0] * 10 + matrix->m_dims[1], 223);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(matrix->m_pData), reinterpret_cast<uintptr_t>(data) & 0xFFFFFFFF);
    Block* readBus = static_cast<Block**>(read->FindSegment(TCBusSerializeHelper::GenSegmentName(
                                              0x1000000, "STRUCT_BUS{BUS}", 1, 3, "", ""), true)->m_pData)[1];
    EXPECT_EQ(Diff(channel, *static_cast<Block**>(readBus->ValidSegment(0)->m_pData)[0], false), "");
}

TEST(TCIOStreamOldStream, UnsupportedAndMalformed)
{
    Loopback s;
    const int v[] = {1, 2};
    s.s.WriteIntVec(v, 2); // an unnamed INT segment has no old-stream form
    EXPECT_TRUE(s.s.SerializeForOldStream().IsEmpty());
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 0);
    EXPECT_TRUE(s.s.SerializeForOldStream().IsEmpty());

    std::mt19937_64 rng(3);
    s.s.StartWriteSegments();
    WriteChannel(s.s, kChannels[7], 0, rng, true);
    WriteChannel(s.s, kChannels[5], 1, rng, false);
    s.s.EndWriteSegments();
    TCString text = s.s.SerializeForOldStream();
    ASSERT_FALSE(text.IsEmpty());
    for (int len = 0; len < text.GetLength(); ++len)
        EXPECT_EQ(s.s.DeSerializeForOldStream(text, len), 0) << len;
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 0);
    // A failed read leaves the act block reserved; the next read starts it afresh.
    EXPECT_EQ(s.s.DeSerializeForOldStream(text, text.GetLength()), text.GetLength());
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 1);
    TCIOStream unconnected;
    EXPECT_EQ(unconnected.DeSerializeForOldStream(text, text.GetLength()), 0);
    EXPECT_TRUE(unconnected.SerializeForOldStream().IsEmpty());
    EXPECT_EQ(s.s.DeSerializeForOldStream(nullptr, 4), 0);
    EXPECT_EQ(s.s.DeSerializeForOldStream(text, -1), 0);
}

// Buses of buses are read as deep as the writer writes them, and the same back, but no
// deeper: a bus text is wrapped again and again in the head the writer puts before the
// text of a nested bus.
TEST(TCIOStreamOldStream, NestingIsBounded)
{
    const int one = 1;
    const double v = 0.5;
    Block channel, bus;
    channel.SegmentForWrite("", false)->SetData(TCIOStream::DOUBLE, 1, &one, &v, true);
    Block* channels[] = {&channel};
    bus.SegmentForWrite(TCBusSerializeHelper::GenSegmentName(0x40, "DOUBLE[]{TIME_DOMAIN}", 1, 0, "", ""), false)
        ->SetData(TCIOStream::BLOCK, 1, &one, channels, true);
    TCArray<Block*> buses;
    buses.Add(&bus);
    Loopback s;
    s.s.StartWriteSegments();
    s.s.WriteSegment(TCBusSerializeHelper::GenSegmentName(0x1000000, "STRUCT_BUS{BUS}", 1, 3, "", ""), buses);
    s.s.EndWriteSegments();
    // outer = head, the length of the nested text, the nested text, which is most of it.
    const TCString outer = s.s.SerializeForOldStream();
    TCString head, text;
    for (int n = outer.GetLength() - 1; n > 0 && head.IsEmpty(); --n) {
        const TCString length = TCSerializeOldStream::Serialize(n);
        const int at = outer.GetLength() - n - length.GetLength();
        if (at > 0 && outer.Mid(at, length.GetLength()) == length) {
            head = outer.Left(at);
            text = outer.Right(n);
        }
    }
    ASSERT_FALSE(head.IsEmpty());
    for (int depth = 1; depth <= 64; ++depth) {
        text = head + TCSerializeOldStream::Serialize(text.GetLength()) + text;
        if (depth == 63) {
            EXPECT_EQ(ReadBack(s.s, text).CompareBin(text), 0);
        } else if (depth == 64) {
            EXPECT_EQ(s.s.DeSerializeForOldStream(text, text.GetLength()), 0);
        }
    }
}

} // namespace
