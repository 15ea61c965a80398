// A program built against the installed library, as a module author would build one. It
// runs every inline member of the stream header: an inline member that reaches a symbol
// the library does not export fails to link here, and one that misbehaves outside the
// library fails a check.
#include <corekit80/corekit80.h>

#include <cstdio>
#include <cstring>

namespace {

int g_failures = 0;

void Check(bool ok, const char* what, int line)
{
    if (!ok) {
        ++g_failures;
        std::printf("consumer check failed, line %d: %s\n", line, what);
    }
}
#define CHECK(expr) Check((expr), #expr, __LINE__)

using Block = TCIOStream::Block;
using DataSegment = TCIOStream::DataSegment;
using BlockQueue = TCIOStream::BlockQueue;

void StringChecks()
{
    TCString s;
    s.Format("%s=%d", "consumer", 1);
    s.Replace("=1", " ok");
    CHECK(s == "consumer ok");
}

void SegmentChecks()
{
    CHECK(DataSegment::ElementSize(TCIOStream::INT) == 4);
    CHECK(DataSegment::ElementSize(TCIOStream::DOUBLE) == 8);
    CHECK(DataSegment::ElementSize(TCIOStream::BLOCK) == int(sizeof(void*)));
    CHECK(DataSegment::ElementSize(TCIOStream::DATATYPE(9)) == 0);

    DataSegment seg("x");
    CHECK(seg.ElementCount() == 0);
    const int v[3] = {1, 2, 3};
    const int three = 3, dims[2] = {2, 3};
    CHECK(seg.SetData(TCIOStream::INT, 1, &three, v, true)); // the slow path sets it up
    const int w[3] = {4, 5, 6};
    const void* buffer = seg.m_pData;
    CHECK(seg.SetData(TCIOStream::INT, 1, &three, w, true)); // the same shape again
    CHECK(seg.m_pData == buffer && static_cast<const int*>(seg.m_pData)[2] == 6);
    int rows = -1, cols = -1;
    seg.Shape(&rows, &cols);
    CHECK(seg.ElementCount() == 3 && rows == 1 && cols == 3);
    const double m[6] = {1, 2, 3, 4, 5, 6};
    CHECK(seg.SetData(TCIOStream::DOUBLE, 2, dims, m, false));
    seg.Shape(&rows, nullptr);
    seg.Shape(nullptr, &cols);
    CHECK(seg.m_pData == m && rows == 2 && cols == 3 && seg.ElementCount() == 6);
    CHECK(seg.SetData(TCIOStream::INT, 1, &three, nullptr, false) && seg.m_pData == nullptr);
    CHECK(!seg.SetData(TCIOStream::UNDEF, 1, &three, v, true));
}

void BlockChecks()
{
    Block b;
    CHECK(b.GetTI() == nullptr && b.ValidCount() == 0);
    TCTypeInfo ti;
    ti.Name = "ti";
    b.SetTI(&ti);
    CHECK(b.GetTI() && std::strcmp(b.GetTI()->Name, "ti") == 0);

    const int one = 1, v = 7;
    DataSegment* unnamed = b.UnnamedForWrite();
    CHECK(unnamed && unnamed->m_name.IsEmpty() && b.UnnamedForWrite() == unnamed);
    CHECK(unnamed->SetData(TCIOStream::INT, 1, &one, &v, true));
    CHECK(b.UnnamedForWrite() == nullptr); // written already
    DataSegment* a = b.SegmentForWrite("a", false);
    CHECK(a && a->SetData(TCIOStream::INT, 1, &one, &v, true));
    CHECK(b.SegmentForWrite("a", false) == nullptr);
    CHECK(b.SegmentForWrite("a", true) == a);
    DataSegment* c = b.AddSegment("c");
    CHECK(c && !c->m_bValid);
    CHECK(b.ValidCount() == 2 && b.ValidSegment(1) == a && b.ValidSegment(2) == nullptr);
    CHECK(b.FindSegment("a", true) == a && b.FindSegment("c", true) == nullptr);
    CHECK(b.FindSegment("c", false) == c && b.FindSegment(nullptr, true) == unnamed);

    b.Reset(false);
    CHECK(b.ValidCount() == 0 && b.GetTI() != nullptr);
    b.Reset(true);
    CHECK(b.GetTI() == nullptr && b.FindSegment("a", false) == a); // segments stay

    TCIOStream producer;
    Block owned(&producer);
    CHECK(owned.m_pProducer == &producer && owned.m_nRefCount == 0);
}

void QueueChecks()
{
    Block blocks[20];
    BlockQueue q;
    CHECK(q.IsEmpty() && q.GetCount() == 0 && !q.GetHeadPosition() && !q.GetTailPosition());
    CHECK(!q.TryAddTail(&blocks[0])); // no room yet
    q.Reserve(4);
    int room = 0;
    while (room < 20 && q.TryAddTail(&blocks[room]))
        ++room;
    CHECK(room >= 4 && room < 18 && q.GetCount() == room);
    CHECK(q.RemoveHead() == &blocks[0] && q.RemoveHead() == &blocks[1]);
    for (int i = room; i < 20; ++i)
        q.AddTail(&blocks[i]); // wraps, then grows
    CHECK(q.GetCount() == 18 && q.GetHead() == &blocks[2] && q.GetTail() == &blocks[19]);
    int expect = 2;
    for (POSITION pos = q.GetHeadPosition(); pos; ++expect)
        CHECK(q.GetNext(pos) == &blocks[expect]);
    CHECK(expect == 20);
    for (POSITION pos = q.GetTailPosition(); pos;)
        CHECK(q.GetPrev(pos) == &blocks[--expect]);
    CHECK(expect == 2);
    CHECK(q.FindIndex(5) && q.GetAt(q.FindIndex(5)) == &blocks[7]);
    CHECK(!q.FindIndex(18) && !q.FindIndex(-1));
    q.RemoveAll();
    CHECK(q.IsEmpty());

    TCIOStream::Fan fan;
    CHECK(fan.m_pOwner == nullptr && fan.m_queue.IsEmpty());
}

// One output to two inputs: the simple writes of every type, reads and peeks.
void StreamChecks()
{
    TCIOStream out, a, b;
    CHECK(out.precision() == 3 && out.GetFanIn() == nullptr);
    CHECK(out.AddOutputStream(a.SetInputStream(4)) == 1);
    CHECK(out.AddOutputStream(b.SetInputStream(4)) == 2);
    CHECK(a.precision() == 4 && a.GetFanIn() && a.GetFanIn()->m_pOwner == &out);

    const int iv[3] = {1, 2, 3};
    const double dv[2] = {0.5, 1.5};
    const TCString sv[2] = {"one", "two"};
    const CString cv[1] = {"cs"};
    const int im[4] = {1, 2, 3, 4};
    const double dm[6] = {1, 2, 3, 4, 5, 6};
    CHECK(out.WriteIntVec(iv, 3) == 0);
    CHECK(out.WriteDblVec(dv, 2) == 0);
    CHECK(out.WriteStrVec(sv, 2) == 0);
    CHECK(out.WriteStrVec(cv, 1) == 0);
    CHECK(out.WriteIntMat(im, 2, 2) == 0);
    CHECK(out.WriteDblMat(dm, 2, 3) == 0);
    CHECK(out.WritePtr(&out, 5) == 0);
    CHECK(a.GetBlockCnt(nullptr) == 7 && out.OwnedBlockCnt() == 7 && out.FreeList().IsEmpty());

    // Peeks at the head (the short way) and further back (the search).
    const int* pi = nullptr;
    const double* pd = nullptr;
    const TCString* ps = nullptr;
    int rows = 0, cols = 0;
    CHECK(a.PeekIntData(0, pi, &rows, &cols) == 3 && pi[2] == 3 && rows == 1 && cols == 3);
    CHECK(a.PeekDblData(0, pd, nullptr, nullptr) == -1);
    CHECK(a.PeekDblData(1, pd, &rows, &cols) == 2 && pd[1] == 1.5);
    CHECK(a.PeekStrData(2, ps) == 2 && ps[1] == "two");
    CHECK(a.PeekIntData(4, pi, &rows, &cols) == 4 && pi == im && rows == 2 && cols == 2);
    CHECK(a.PeekDblData(5, pd, &rows, &cols) == 6 && pd == dm && rows == 2 && cols == 3);
    CHECK(a.PeekStrData(9, ps) == -1 && out.PeekIntData(0, pi, nullptr, nullptr) == -1);

    // Walk a's queue: every entry is shared with b, one reference each.
    const BlockQueue& queue = a.GetFanIn()->m_queue;
    int walked = 0;
    for (POSITION pos = queue.GetHeadPosition(); pos; ++walked)
        CHECK(queue.GetNext(pos)->m_nRefCount == 2);
    CHECK(walked == 7 && queue.GetAt(queue.FindIndex(6)) == out.OwnedBlock(6));

    int ibuf[3] = {};
    int n = 2;
    CHECK(a.ReadIntVec(ibuf, &n) == 2 && n == 2 && ibuf[0] == 2 && ibuf[1] == 3);
    CHECK(a.GetActBlock() == out.OwnedBlock(0) && a.SegmentCnt() == 1);
    double dbuf[2] = {};
    CHECK(a.ReadDblVec(dbuf, nullptr) == 2 && dbuf[1] == 1.5);
    TCString sbuf[2];
    CHECK(a.ReadStrVec(sbuf, nullptr) == 2 && sbuf[0] == "one");
    CString cs;
    CHECK(a.ReadStr(cs) == 1 && std::strcmp(cs, "cs") == 0);
    int* mi = nullptr;
    CHECK(a.ReadIntMat(&mi, rows, cols) == 4 && mi == im && rows == 2);
    double* md = nullptr;
    CHECK(a.ReadDblMat(&md, rows, cols) == 6 && md == dm && cols == 3);
    void* p = nullptr;
    int size = 0;
    CHECK(a.ReadPtr(&p, &size) == 1 && p == &out && size == 5);
    CHECK(a.GetBlockCnt(nullptr) == 0 && out.FreeList().IsEmpty()); // b still holds them

    // b lets them go: one by one while a shares nothing any more, then all at once.
    CHECK(b.RemoveContents(false) == 1 && out.FreeList().GetCount() == 1);
    CHECK(b.RemoveContents(true) == 6 && out.FreeList().GetCount() == 7);

    // A block shared by both inputs: the first to drop it takes the short way.
    CHECK(out.WriteIntVec(iv, 1) == 0 && out.OwnedBlockCnt() == 7);
    CHECK(a.RemoveContents(false) == 1 && out.FreeList().GetCount() == 6);
    CHECK(b.RemoveContents(false) == 1 && out.FreeList().GetCount() == 7);
    CHECK(a.RemoveContents(false) == 0 && a.RemoveContents(true) == 0);
    CHECK(a.ConvertToString().IsEmpty());
}

// The segment write sequence with type info, named and bus reads, and the diagnostic text.
void SegmentSequenceChecks()
{
    TCIOStream out, in;
    out.AddOutputStream(in.SetInputStream(3));
    CHECK(out.StartWriteSegments() == 1);
    TCTypeInfo ti;
    ti.Name = "sig";
    CHECK(out.SetTI(&ti, true) == 0);
    CHECK(out.GetTI() && std::strcmp(out.GetTI()->Name, "sig") == 0);
    CHECK(out.WriteSegment("i", 3) == 0 && out.WriteSegment("d", 2.5) == 0);
    CHECK(out.WriteSegment("s", TCString("text")) == 0);
    const int bus[2] = {7, 8};
    CHECK(out.WriteBusSegment("bus", bus, 2, &ti) == 0);
    CHECK(out.SegmentCnt() == 4);
    CHECK(out.EndWriteSegments() && !out.EndWriteSegments());
    CHECK(out.GetTI() == nullptr && in.PeekTI() && in.GetBlockLen(0, 3) == 1);
    CHECK(in.ConvertToString().Find("i [1] (int) 3") >= 0);

    CHECK(in.StartReadSegments() == 1 && in.SegmentCnt() == 4);
    CHECK(in.GetTI() && std::strcmp(in.GetTI()->Name, "sig") == 0);
    int i = 0;
    double d = 0;
    TCString s;
    CHECK(in.ReadSegment("i", i) == 1 && i == 3);
    CHECK(in.ReadSegment("d", d) == 1 && d == 2.5);
    CHECK(in.ReadSegment(2, s) == 1 && s == "text" && in.SegmentName(2) == "s");
    TCArray<int, int> channel;
    CHECK(in.BusSegmentCnt(3) == 1 && in.ReadBusSegment(3, channel, nullptr) == 1);
    CHECK(channel.GetSize() == 2 && channel[1] == 8);
    CHECK(in.StartReadSegments() == 0 && in.SegmentCnt() == 0 && in.GetTI() == nullptr);
}

// A matrix read points into a block that has gone back to its producer: the values hold
// until the producer writes again.
void LifetimeChecks()
{
    TCIOStream out, in;
    out.AddOutputStream(in.SetInputStream(3));
    const double v[3] = {1.25, 2.5, 3.75};
    CHECK(out.WriteDblVec(v, 3) == 0);
    double* data = nullptr;
    int rows = 0, cols = 0;
    CHECK(in.ReadDblMat(&data, rows, cols) == 3 && out.FreeList().GetCount() == 1);
    CHECK(data && data[0] == 1.25 && data[2] == 3.75);
}

} // namespace

int main()
{
    StringChecks();
    SegmentChecks();
    BlockChecks();
    QueueChecks();
    StreamChecks();
    SegmentSequenceChecks();
    LifetimeChecks();
    if (g_failures) {
        std::printf("%d consumer checks failed\n", g_failures);
        return 1;
    }
    std::printf("consumer ok\n");
    return 0;
}
