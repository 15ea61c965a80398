// Tests of blocks as binary records: golden records, repairs and random round trips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "corekit80/streams/TCIOStreamSerialize_test.h"

namespace {

using namespace serialize_test;

std::string ReadData(const char* name)
{
    const char* dir = std::getenv("CK80_TEST_DATA");
    std::string path = std::string(dir ? dir : "tests/data") + "/streams/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The record of the next queued block, taken off the queue.
std::string Record(TCIOStream& s, bool withTI = true)
{
    int size = s.SerializeBlock(nullptr, withTI);
    std::string bytes(size_t(size), '\0');
    EXPECT_EQ(s.SerializeBlock(bytes.data(), withTI), size);
    return bytes;
}

TCTypeInfo GoldenTI()
{
    TCTypeInfo ti;
    ti.Timestamp = 1.5e12;
    ti.Samplerate = 1000.0;
    ti.Unit.factor = 1e-3;
    ti.Unit.exponents[0] = 1;
    ti.Unit.exponents[2] = -2;
    ti.Min = -10.0;
    ti.Max = 10.0;
    ti.Name.SetString("Volt\0age", 8);
    ti.State = TCBS_START;
    return ti;
}

// The blocks of tools/gen_stream_golden.py, written with the stream calls.
void WriteGolden(TCIOStream& s, const std::string& name)
{
    static const double d[] = {0.5, -1.0, 1e300, -0.0, 2.25, 3.0};
    static const int i[] = {1, 2, -1};
    static const TCString t[] = {TCString(), TCString("a\0b", 3), TCString("\xc3\xa4")};
    TCTypeInfo ti = GoldenTI();
    if (name == "int_vec_no_ti.bin")
        s.WriteIntVec(i, 2);
    else if (name == "dbl_mat_ti.bin")
        s.SetTI(&ti, false), s.WriteDblMat(d, 2, 3);
    else if (name == "strings.bin")
        s.WriteStrVec(t, 3);
    else if (name == "pointer.bin")
        s.WritePtr(reinterpret_cast<void*>(uintptr_t(0x12345678)), 7);
    else
        s.StartWriteSegments(), s.WriteBusSegment("bus", i + 2, 1, &ti), s.EndWriteSegments();
}

TEST(TCIOStreamSerialize, GoldenRecords)
{
    for (const char* name : {"int_vec_no_ti.bin", "dbl_mat_ti.bin", "strings.bin", "pointer.bin", "nested.bin"}) {
        SCOPED_TRACE(name);
        std::string golden = ReadData(name);
        Loopback a, b;
        WriteGolden(a.s, name);
        EXPECT_EQ(Record(a.s), golden);
        // The file reads back to the same block, which writes the same record (without its
        // type info when the file had none: reading repairs a missing one).
        EXPECT_EQ(b.s.DeSerializeBlock(TCString(golden.data(), int(golden.size()))), int(golden.size()));
        EXPECT_EQ(Record(b.s, golden[4] == 1), golden);
    }
}

TEST(TCIOStreamSerialize, RecordWithoutTypeInfoIsRepaired)
{
    std::string golden = ReadData("int_vec_no_ti.bin");
    Loopback s;
    ASSERT_EQ(s.s.DeSerializeBlock(TCString(golden.data(), int(golden.size()))), 38);
    const TCTypeInfo* ti = s.s.PeekTI();
    ASSERT_TRUE(ti);
    EXPECT_EQ(ti->State, TCBS_BUSY);
    EXPECT_GT(ti->Timestamp, 1.6e12);
    // Without the type info flag the record is the golden one again.
    EXPECT_EQ(Record(s.s, false), golden);
}

TEST(TCIOStreamSerialize, RandomRoundTrips)
{
    std::mt19937_64 rng(20261205);
    RandomOptions o;
    for (int round = 0; round < 300; ++round) {
        Block original;
        FillRandom(original, rng, o);
        Loopback a, b;
        ASSERT_EQ(a.s.WriteCopy(&original), 1);
        std::string first = Record(a.s);
        ASSERT_EQ(b.s.DeSerializeBlock(TCString(first.data(), int(first.size()))), int(first.size()));
        b.s.PeekBlock(0);
        EXPECT_EQ(Diff(original, *b.s.GetActBlock(), false), "") << round;
        if (original.GetTI()) {
            EXPECT_EQ(DiffTI(original.GetTI(), b.s.GetActBlock()->GetTI()), "") << round;
        }
        std::string second = Record(b.s);
        ASSERT_EQ(a.s.DeSerializeBlock(TCString(second.data(), int(second.size()))), int(second.size()));
        EXPECT_EQ(Record(a.s), second) << round;
    }
}

TEST(TCIOStreamSerialize, PeekDoesNotConsume)
{
    Loopback s;
    const int v[] = {1, 2};
    s.s.WriteIntVec(v, 2);
    EXPECT_EQ(s.s.SerializeBlock(nullptr, true), 38);
    EXPECT_EQ(s.s.SerializeBlock(nullptr, true), 38);
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 1);
    Record(s.s);
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 0);
    EXPECT_EQ(s.s.SerializeBlock(nullptr, true), 0);
    char buf[64];
    EXPECT_EQ(s.s.SerializeBlock(buf, true), 0);
}

TEST(TCIOStreamSerialize, MalformedRecordsDispatchNothing)
{
    std::string good = ReadData("nested.bin");
    Loopback s;
    // Every truncation, and every single-byte change of the length fields, reads as 0 or
    // as a whole record; nothing is dispatched for a 0.
    for (size_t len = 0; len < good.size(); ++len)
        EXPECT_EQ(s.s.DeSerializeBlock(TCString(good.data(), int(len))), 0) << len;
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 0);
    struct Case { size_t at; int32_t value; };
    const Case cases[] = {{0, int32_t(good.size())}, {0, -1}, {0, INT32_MAX}, {5, -5}, {5, 2}, {9, -5}, {9, 1000}};
    for (const Case& c : cases) {
        std::string bad = good;
        std::memcpy(&bad[c.at], &c.value, 4);
        EXPECT_EQ(s.s.DeSerializeBlock(TCString(bad.data(), int(bad.size()))), 0) << c.at;
    }
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 0);
    // Types outside INT..BLOCK, and extents that are negative or whose product leaves int,
    // are refused before allocating.
    const Case intVec[] = {{18, 0}, {18, 6}, {18, -1}, {26, -1}, {26, 0x10000}, {26, INT32_MAX}};
    for (const Case& c : intVec) {
        std::string bad = ReadData("int_vec_no_ti.bin");
        std::memcpy(&bad[c.at], &c.value, 4);
        EXPECT_EQ(s.s.DeSerializeBlock(TCString(bad.data(), int(bad.size()))), 0) << c.at << " " << c.value;
    }
    TCIOStream unconnected;
    EXPECT_EQ(unconnected.DeSerializeBlock(TCString(good.data(), int(good.size()))), 0);
}

} // namespace
