// Tests of segment writes and reads: named, simple, by reference, nested, bus, text.
#include "corekit80/streams/TCIOStream.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Block = TCIOStream::Block;

struct Pair {
    TCIOStream out, in;
    Pair() { out.AddOutputStream(in.SetInputStream(3)); }
};

TEST(TCIOStreamSegments, NamedWritesAndReads)
{
    Pair s;
    ASSERT_EQ(s.out.StartWriteSegments(), 1);
    EXPECT_EQ(s.out.WriteSegment("i", 3), 0);
    EXPECT_EQ(s.out.WriteSegment("i", 4), -14); // written already in this block
    EXPECT_EQ(s.out.WriteSegment("d", 2.5), 0);
    EXPECT_EQ(s.out.WriteSegment("s", TCString("text")), 0);
    EXPECT_EQ(s.out.WriteSegment("c", CString("cs")), 0);
    EXPECT_TRUE(s.out.EndWriteSegments());
    EXPECT_FALSE(s.out.EndWriteSegments());
    ASSERT_EQ(s.out.StartWriteSegments(), 1);
    EXPECT_EQ(s.out.WriteSegment("i", 5), 0); // a new block takes the name again
    EXPECT_EQ(s.out.WriteSegment("x", 1.0), 0);
    EXPECT_TRUE(s.out.EndWriteSegments());

    ASSERT_EQ(s.in.StartReadSegments(), 1);
    EXPECT_EQ(s.in.SegmentCnt(), 4);
    int i = 0;
    double d = 0;
    TCString t;
    CString c;
    EXPECT_EQ(s.in.ReadSegment("i", i), 1);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(s.in.ReadSegment("i", d), -2);
    EXPECT_EQ(s.in.ReadSegment("d", d), 1);
    EXPECT_EQ(d, 2.5);
    EXPECT_EQ(s.in.ReadSegment("s", t), 1);
    EXPECT_STREQ(t, "text");
    EXPECT_EQ(s.in.ReadSegment("c", c), 1);
    EXPECT_STREQ(c, "cs");
    EXPECT_EQ(s.in.ReadSegment("none", i), 0);
    EXPECT_EQ(s.in.ReadSegment(2, t), 1);
    EXPECT_EQ(s.in.ReadSegment(4, t), 0);
    EXPECT_STREQ(s.in.SegmentName(1), "d");
    EXPECT_STREQ(s.in.SegmentName(9), "");
    EXPECT_EQ(s.in.SegmentType(0), TCIOStream::INT);
    EXPECT_EQ(s.in.SegmentType(9), TCIOStream::UNDEF);

    // The second block reuses the first's segments: "d", "s", "c" are not valid there.
    ASSERT_EQ(s.in.StartReadSegments(), 1);
    TCArray<TCString> names;
    EXPECT_EQ(s.in.AvailableSegments(&names), 2);
    EXPECT_STREQ(names[0], "i");
    EXPECT_STREQ(names[1], "x");
    EXPECT_EQ(s.in.ReadSegment("d", d), 0);
    EXPECT_EQ(s.in.StartReadSegments(), 0);
    EXPECT_EQ(s.in.SegmentCnt(), 0);
    EXPECT_EQ(s.in.ReadSegment(0, i), 0);
}

TEST(TCIOStreamSegments, SimpleReads)
{
    Pair s;
    const int five[5] = {1, 2, 3, 4, 5};
    int buf[5] = {};
    struct Case { int want; int result; int first; };
    const Case cases[] = {{3, 3, 3}, {5, 5, 1}, {9, 5, 1}, {-1, -14, 0}, {0, 0, 0}};
    for (const Case& c : cases) {
        ASSERT_EQ(s.out.WriteIntVec(five, 5), 0);
        int n = c.want;
        buf[0] = 0;
        EXPECT_EQ(s.in.ReadIntVec(buf, &n), c.result) << c.want;
        if (c.result > 0) {
            EXPECT_EQ(n, c.result);
            EXPECT_EQ(buf[0], c.first);
        }
        EXPECT_EQ(s.in.GetBlockCnt(nullptr), 0); // consumed in every case
    }
    double d[2] = {1.5, 2.5}, got[2];
    s.out.WriteDblVec(d, 2);
    EXPECT_EQ(s.in.ReadIntVec(buf, nullptr), 0); // other type
    s.out.WriteDblVec(d, 2);
    EXPECT_EQ(s.in.ReadDblVec(got, nullptr), 2);
    EXPECT_EQ(got[1], 2.5);
    EXPECT_EQ(s.out.WriteIntVec(five, 0), -14);
    EXPECT_EQ(s.out.WriteIntVec(five, -1), -14);

    TCString texts[2] = {"a", TCString("b\0c", 3)};
    s.out.WriteStrVec(texts, 2);
    TCString last;
    EXPECT_EQ(s.in.ReadStr(last), 1);
    EXPECT_EQ(last.GetLength(), 3);
    CString cs[2] = {"x", CString("y\0z", 3)};
    s.out.WriteStrVec(cs, 2);
    CString back[2];
    EXPECT_EQ(s.in.ReadStrVec(back, nullptr), 2);
    EXPECT_EQ(back[1].GetLength(), 3);
    s.out.WriteStrVec(cs, 2);
    CString one;
    EXPECT_EQ(s.in.ReadStr(one), 1);
    EXPECT_EQ(one.GetLength(), 1); // up to the first zero byte
    s.out.WriteStrVec(texts, 2);
    TCString tback[1];
    int n = 1;
    EXPECT_EQ(s.in.ReadStrVec(tback, &n), 1);
    EXPECT_EQ(tback[0].GetLength(), 3);
}

TEST(TCIOStreamSegments, MatricesAndPointersByReference)
{
    Pair s;
    double m[6] = {1, 2, 3, 4, 5, 6};
    int im[4] = {1, 2, 3, 4};
    ASSERT_EQ(s.out.WriteDblMat(m, 2, 3), 0);
    ASSERT_EQ(s.out.WriteIntMat(im, 1, 4), 0);
    ASSERT_EQ(s.out.WritePtr(&s, 17), 0);
    int v[2] = {7, 8};
    ASSERT_EQ(s.out.WriteIntVec(v, 2), 0);

    const double* pd = nullptr;
    int rows = -1, cols = -1;
    EXPECT_EQ(s.in.PeekDblData(0, pd, &rows, &cols), 6);
    EXPECT_EQ(pd, m);
    const int* pi = nullptr;
    EXPECT_EQ(s.in.PeekIntData(0, pi, nullptr, nullptr), -1);
    EXPECT_EQ(s.in.GetBlockLen(1, 0), 4);
    EXPECT_EQ(s.in.GetBlockLen(1, 1), 0);
    EXPECT_EQ(s.in.GetBlockLen(9, 0), 0);
    EXPECT_EQ(s.in.PeekIntData(3, pi, &rows, &cols), 2);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(s.in.PeekIntData(4, pi, &rows, &cols), -1);
    EXPECT_EQ(s.out.PeekIntData(0, pi, &rows, &cols), -1);

    double* d = nullptr;
    EXPECT_EQ(s.in.ReadDblMat(&d, rows, cols), 6);
    EXPECT_EQ(d, m);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 3);
    int* i = nullptr;
    EXPECT_EQ(s.in.ReadIntMat(&i, rows, cols), 4);
    EXPECT_EQ(i, im);
    void* p = nullptr;
    int size = 0;
    EXPECT_EQ(s.in.ReadPtr(&p, &size), 1);
    EXPECT_EQ(p, &s);
    EXPECT_EQ(size, 17);
    EXPECT_EQ(s.in.ReadPtr(&p, &size), 0); // an INT block
    EXPECT_EQ(s.in.ReadPtr(&p, &size), 0);

    TCString strs[2] = {"a", "b"};
    s.out.WriteStrVec(strs, 2);
    const TCString* ps = nullptr;
    EXPECT_EQ(s.in.PeekStrData(0, ps), 2);
    EXPECT_STREQ(ps[1], "b");
}

TEST(TCIOStreamSegments, ReuseKeepsBuffers)
{
    Pair s;
    double d[4] = {1, 2, 3, 4};
    s.out.WriteDblVec(d, 4);
    Block* b = s.in.GetFanIn()->m_queue.GetHead();
    const void* buffer = b->ValidSegment(0)->m_pData;
    s.in.RemoveContents(true);
    d[0] = 9;
    s.out.WriteDblVec(d, 4);
    EXPECT_EQ(s.in.GetFanIn()->m_queue.GetHead(), b);
    EXPECT_EQ(b->ValidSegment(0)->m_pData, buffer);
    EXPECT_EQ(static_cast<const double*>(buffer)[0], 9);
    s.in.RemoveContents(true);
    s.out.WriteDblVec(d, 3); // another shape gets another buffer
    EXPECT_EQ(b->ValidSegment(0)->ElementCount(), 3);
}

TEST(TCIOStreamSegments, NestedBlocks)
{
    Pair s;
    TCArray<Block*> blocks;
    blocks.Add(new Block);
    blocks.Add(new Block);
    int v[2] = {4, 5};
    const int two = 2;
    ASSERT_TRUE(blocks[0]->SegmentForWrite("n", false)->SetData(TCIOStream::INT, 1, &two, v, true));
    s.out.StartWriteSegments();
    EXPECT_EQ(s.out.WriteSegment("blocks", blocks), 0);
    s.out.EndWriteSegments();
    s.in.StartReadSegments();

    TCArray<Block*> view, copies;
    EXPECT_EQ(s.in.ReadSegment(0, view), 2);
    EXPECT_NE(view[0], blocks[0]); // the segment holds copies
    EXPECT_EQ(view[0]->ValidCount(), 1);
    copies.Add(new Block);
    copies.Add(new Block);
    copies.Add(new Block);
    EXPECT_EQ(s.in.ReadSegment("blocks", copies), 2); // the surplus block is destroyed
    ASSERT_EQ(copies.GetSize(), 2);
    EXPECT_EQ(static_cast<int*>(copies[0]->FindSegment("n", true)->m_pData)[1], 5);
    EXPECT_EQ(s.in.ReadSegment("none", copies), 0);
    int i;
    EXPECT_EQ(s.in.ReadSegment(0, i), -2);
    for (Block* b : blocks)
        delete b;
    for (Block* b : copies)
        delete b;
    s.out.WriteIntVec(v, 2);
    s.in.StartReadSegments();
    EXPECT_EQ(s.in.ReadSegment(0, view), -2);
    EXPECT_EQ(view.GetSize(), 2);
}

TEST(TCIOStreamSegments, BusSegments)
{
    Pair s;
    TCTypeInfo ti;
    ti.Name = "ch0";
    int a[3] = {1, 2, 3}, b[2] = {9, 8};
    s.out.StartWriteSegments();
    EXPECT_EQ(s.out.WriteBusSegment("bus", a, 3, &ti), 0);
    EXPECT_EQ(s.out.WriteBusSegment("bus", b, 2, nullptr), 0);
    double m[4] = {1, 2, 3, 4};
    EXPECT_EQ(s.out.WriteBusSegment("mat", m, 2, 2, false, nullptr), 0);
    EXPECT_EQ(s.out.WriteBusSegment("ptr", &s, 5, nullptr), 0);
    s.out.EndWriteSegments();
    EXPECT_EQ(s.out.WriteBusSegment("bus", a, 3, &ti), -14); // no block

    s.in.StartReadSegments();
    EXPECT_EQ(s.in.SegmentCnt(), 3);
    EXPECT_EQ(s.in.BusSegmentCnt(0), 1);
    EXPECT_EQ(s.in.GetFanIn() ? s.in.GetActBlock()->ValidSegment(0)->ElementCount() : 0, 2);
    EXPECT_EQ(s.in.BusSegmentElementCnt(0), 3);
    TCArray<int, int> iv;
    TCTypeInfo got;
    EXPECT_EQ(s.in.ReadBusSegment(0, iv, &got), 1);
    EXPECT_EQ(iv.GetSize(), 3);
    EXPECT_EQ(iv[2], 3);
    EXPECT_STREQ(got.Name, "ch0");
    TCArray<double, double> dv;
    EXPECT_EQ(s.in.ReadBusSegment(0, dv, nullptr), -2);
    int rows = 0, cols = 0;
    double* pd = nullptr;
    got.Name = "x";
    EXPECT_EQ(s.in.ReadBusSegment(1, rows, cols, &pd, &got), 1);
    EXPECT_EQ(pd, m); // referred to, not copied
    EXPECT_EQ(rows * 10 + cols, 22);
    EXPECT_STREQ(got.Name, ""); // no type info reads as a default record
    void* p = nullptr;
    int size = 0;
    EXPECT_EQ(s.in.ReadBusSegment(2, size, &p, nullptr), 1);
    EXPECT_EQ(p, &s);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(s.in.ReadBusSegment(3, iv, nullptr), 0);
    EXPECT_EQ(s.in.BusSegmentCnt(3), 0);

    s.out.WriteIntVec(a, 3);
    s.in.StartReadSegments();
    EXPECT_EQ(s.in.ReadBusSegment(0, iv, nullptr), -2);
    EXPECT_EQ(s.in.BusSegmentCnt(0), 0);
}

TEST(TCIOStreamSegments, VerifyTypeAndNames)
{
    TCIOStream out, a, b;
    out.AddOutputStream(a.SetInputStream(3));
    out.AddOutputStream(b.SetInputStream(3));
    int v[2] = {1, 2};
    out.WriteIntVec(v, 2);
    EXPECT_TRUE(out.VerifyType(TCIOStream::INT, 1));
    a.RemoveContents(true);
    out.WriteIntMat(v, 1, 2);
    EXPECT_FALSE(out.VerifyType(TCIOStream::INT, 1));
    EXPECT_EQ(out.GetErrFan(), 0);
    EXPECT_FALSE(out.VerifyType(TCIOStream::INT, 2));
    EXPECT_EQ(out.GetErrFan(), 1);

    for (int t = -1; t <= 6; ++t) {
        const char* name = TCIOStream::DataTypeToString(TCIOStream::DATATYPE(t));
        EXPECT_EQ(TCIOStream::StringToDataType(name), t >= 0 && t <= 5 ? t : -1) << name;
    }
    EXPECT_EQ(TCIOStream::StringToDataType("double"), TCIOStream::DOUBLE);
    EXPECT_EQ(TCIOStream::StringToDataType(nullptr), -1);
}

TEST(TCIOStreamSegments, DiagnosticText)
{
    Pair s;
    int v[2] = {1, 2};
    s.out.WriteIntVec(v, 2);
    EXPECT_STREQ(s.in.ConvertToString(-1, -1, false), "[2] (int) 1 2 \r\n");
    EXPECT_STREQ(s.out.ConvertToString(), "");
    EXPECT_STREQ(s.in.ConvertToString(1), "");

    TCString bell("a\x07" "b\n");
    s.out.WriteStrVec(&bell, 1);
    std::string text = s.in.ConvertToString(1, -1, false).operator const char*();
    EXPECT_EQ(text, "[1] (string) [4] \"a\xB7" "b\n\" \r\n");

    double d[2] = {0.5, 2};
    s.out.WriteDblMat(d, 1, 2);
    std::string mat = static_cast<const char*>(s.in.ConvertToString(2, -1, false));
    char addr[32];
    snprintf(addr, sizeof addr, "0x%016llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(d)));
    EXPECT_EQ(mat, std::string("[1, 2]  ") + addr + " (double) 0.5  2 \r\n");

    s.out.StartWriteSegments();
    TCTypeInfo ti;
    s.out.SetTI(&ti, false);
    s.out.WriteSegment("name", 5);
    s.out.WriteBusSegment("bus", v, 2, nullptr);
    s.out.EndWriteSegments();
    std::string full = static_cast<const char*>(s.in.ConvertToString(3));
    EXPECT_EQ(full.rfind("State= -1 (INVALID)", 0), 0u) << full;
    EXPECT_NE(full.find("name [1] (int) 5 bus [1] (blocks)\r\n[2] (int) 1 2 \r\n\r\n"), std::string::npos) << full;

    // Limits: all blocks, cut with "...", and only the first block for maxLen below -1.
    std::string all = static_cast<const char*>(s.in.ConvertToString(-1, -1, false));
    std::string first = static_cast<const char*>(s.in.ConvertToString(-1, -2, false));
    EXPECT_EQ(first, "[2] (int) 1 2 \r\n");
    EXPECT_EQ(all.rfind(first, 0), 0u);
    EXPECT_STREQ(s.in.ConvertToString(0, 8, false), "[2] (...\r\n");
    EXPECT_STREQ(s.in.ConvertToString(0, 2, false), "[2\r\n");
}

} // namespace
