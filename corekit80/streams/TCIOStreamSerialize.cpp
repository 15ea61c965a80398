// Blocks as binary records: a length, the type info flag and record, the segment count and
// one length-prefixed record per valid segment (nested blocks recursively).
#include <cstring>
#include <new>

#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCIOStreamSerializeImpl.h"
#include "corekit80/streams/TCSerializeHelper.h"

namespace {

using SH = TCSerializeHelper;
using Block = TCIOStream::Block;
using DataSegment = TCIOStream::DataSegment;
using TCIOStreamSerialize::kMaxDepth;
using TCIOStreamSerialize::SetReadData;

// Writes into out, or only counts the bytes when out is null. Lengths are patched in when
// a record closes.
class RecordWriter {
public:
    explicit RecordWriter(char* out) : m_out(out) {}

    long long Size() const { return m_size; }
    bool Failed() const { return m_failed; }
    void Fail() { m_failed = true; }

    template <class T> void Put(const T& v) { m_size += SH::Serialize(At(), v); }
    void PutTypeInfo(const TCTypeInfo& ti) { m_size += SH::SerializeWithStatus(At(), ti); }
    // n bytes of p; zeros for a segment that refers to no memory.
    void PutRaw(const void* p, long long n)
    {
        if (m_out && n > 0) {
            if (p)
                std::memcpy(At(), p, static_cast<size_t>(n));
            else
                std::memset(At(), 0, static_cast<size_t>(n));
        }
        m_size += n;
    }
    long long Open()
    {
        long long at = m_size;
        Put(0);
        return at;
    }
    void Close(long long at)
    {
        if (m_out) {
            int32_t len = int32_t(m_size - at - 4);
            std::memcpy(m_out + at, &len, 4);
        }
    }

private:
    char* At() const { return m_out ? m_out + m_size : nullptr; }

    char* m_out;
    long long m_size = 0;
    bool m_failed = false;
};

void WriteBlockRecord(RecordWriter& w, const Block* b, bool withTI, int depth);

void WriteSegmentRecord(RecordWriter& w, const DataSegment& seg, int depth)
{
    long long at = w.Open();
    w.Put(seg.m_name);
    w.Put(true);
    w.Put(int(seg.m_type));
    w.Put(seg.m_nDims);
    for (int i = 0; i < seg.m_nDims; ++i)
        w.Put(seg.m_dims[i]);
    const int n = seg.ElementCount();
    switch (seg.m_type) {
    case TCIOStream::INT:
    case TCIOStream::DOUBLE:
        w.PutRaw(seg.m_pData, static_cast<long long>(n) * DataSegment::ElementSize(seg.m_type));
        break;
    case TCIOStream::STRING:
        for (int i = 0; i < n; ++i)
            w.Put(seg.m_pData ? static_cast<const TCString*>(seg.m_pData)[i] : TCString());
        break;
    case TCIOStream::POINTER: w.Put(static_cast<const void*>(seg.m_pData)); break;
    case TCIOStream::BLOCK:
        for (int i = 0; i < n; ++i)
            WriteBlockRecord(w, seg.m_pData ? static_cast<Block* const*>(seg.m_pData)[i] : nullptr, true,
                       depth + 1);
        break;
    default: break;
    }
    w.Close(at);
}

// A null block (a reference segment may hold one) is written as an empty block.
void WriteBlockRecord(RecordWriter& w, const Block* b, bool withTI, int depth)
{
    if (depth > kMaxDepth) {
        w.Fail();
        return;
    }
    long long at = w.Open();
    const TCTypeInfo* ti = b && withTI ? b->GetTI() : nullptr;
    w.Put(ti != nullptr);
    if (ti)
        w.PutTypeInfo(*ti);
    w.Put(b ? b->ValidCount() : 0);
    for (int i = 0; b && i < b->m_segments.GetSize(); ++i)
        if (b->m_segments[i]->m_bValid)
            WriteSegmentRecord(w, *b->m_segments[i], depth);
    w.Close(at);
}

// The bytes each element needs at least in a segment record, so that a shape is checked
// against the bytes left before anything is allocated.
int MinElementBytes(int type)
{
    switch (type) {
    case TCIOStream::DOUBLE: return 8;
    case TCIOStream::INT:
    case TCIOStream::STRING:
    case TCIOStream::BLOCK: return 4;
    default: return 0;
    }
}

const char* ReadBlockRecord(Block& b, const char* p, const char* end, int depth, bool* hadTI);

// The record's length field: the start of its content and its end, or null.
const char* OpenRecord(const char* p, const char*& end)
{
    int len;
    p = SH::DeSerialize(len, p, end);
    if (!p || len < 0 || len > end - p)
        return nullptr;
    end = p + len;
    return p;
}

const char* ReadSegmentRecord(Block& b, const char* p, const char* end, int depth)
{
    const char* segEnd = end;
    p = OpenRecord(p, segEnd);
    TCString name;
    p = SH::DeSerialize(name, p, segEnd);
    bool valid;
    p = SH::DeSerialize(valid, p, segEnd);
    if (!p)
        return nullptr;
    DataSegment* seg = b.SegmentForWrite(name, false);
    if (!seg)
        return nullptr; // the name occurs twice
    if (!valid)
        return segEnd;
    int type, dimCount;
    p = SH::DeSerialize(type, p, segEnd);
    p = SH::DeSerialize(dimCount, p, segEnd);
    if (!p || dimCount < 0 || dimCount > (segEnd - p) / 4)
        return nullptr;
    TCArray<int, int> dims;
    dims.SetSize(dimCount);
    for (int i = 0; i < dimCount; ++i)
        p = SH::DeSerialize(dims[i], p, segEnd);
    // A shape without extents holds no values (though the segment keeps room for one).
    long long count = dimCount ? TCIOStream::DataSegment::ShapeCount(dimCount, dims.GetData()) : 0;
    if (!p || type < TCIOStream::INT || type > TCIOStream::BLOCK || count < 0 ||
        count * MinElementBytes(type) > segEnd - p ||
        !SetReadData(*seg, TCIOStream::DATATYPE(type), dimCount, dims.GetData(), nullptr, true))
        return nullptr;
    const int n = seg->ElementCount();
    switch (type) {
    case TCIOStream::INT:
    case TCIOStream::DOUBLE:
        p = SH::DeSerialize(static_cast<unsigned char*>(seg->m_pData),
                            n * DataSegment::ElementSize(seg->m_type), p, segEnd, 0);
        break;
    case TCIOStream::STRING:
        for (int i = 0; i < n; ++i)
            p = SH::DeSerialize(static_cast<TCString*>(seg->m_pData)[i], p, segEnd);
        break;
    case TCIOStream::POINTER: p = SH::DeSerialize(&seg->m_pData, p, segEnd); break;
    case TCIOStream::BLOCK:
        for (int i = 0; i < n && p; ++i)
            p = ReadBlockRecord(*static_cast<Block**>(seg->m_pData)[i], p, segEnd, depth + 1, nullptr);
        break;
    default: break;
    }
    return p ? segEnd : nullptr;
}

// Reads one block record into b; the block carries type info afterwards in every case (an
// initialised one when the record had none). Returns the position after the record.
const char* ReadBlockRecord(Block& b, const char* p, const char* end, int depth, bool* hadTI)
{
    if (depth > kMaxDepth)
        return nullptr;
    p = OpenRecord(p, end);
    bool flag;
    p = SH::DeSerialize(flag, p, end);
    TCTypeInfo ti;
    if (p && flag)
        p = SH::DeSerializeWithStatus(ti, p, end);
    if (!p)
        return nullptr;
    if (hadTI)
        *hadTI = flag;
    b.SetTI(&ti);
    b.Reset(false);
    int count;
    p = SH::DeSerialize(count, p, end);
    if (!p || count < 0)
        return nullptr;
    for (int i = 0; i < count && p; ++i)
        p = ReadSegmentRecord(b, p, end, depth);
    return p ? end : nullptr;
}

} // namespace

int TCIOStream::SerializeBlock(char* buffer, bool withTI)
{
    Block* b;
    if (!buffer) {
        Fan* fan = GetFanIn();
        b = fan && !fan->m_queue.IsEmpty() ? fan->m_queue.GetHead() : nullptr;
    } else {
        b = RemoveBlock(true) == 1 ? GetActBlock() : nullptr;
    }
    if (!b)
        return 0;
    RecordWriter size(nullptr);
    WriteBlockRecord(size, b, withTI, 0);
    if (size.Failed() || size.Size() > INT32_MAX)
        return 0;
    if (buffer) {
        RecordWriter w(buffer);
        WriteBlockRecord(w, b, withTI, 0);
    }
    return int(size.Size());
}

int TCIOStream::DeSerializeBlock(const TCString& text)
{
    int r = ReserveBlock(true);
    if (r < 1)
        return r;
    Block* b = GetActBlock();
    const char* start = text;
    bool hadTI = false;
    try {
        const char* p = ReadBlockRecord(*b, start, start + text.GetLength(), 0, &hadTI);
        if (!p)
            return 0;
        if (!hadTI)
            CheckBlockState(b->GetTI(), true);
        return DispatchBlock() ? int(p - start) : -14;
    } catch (const std::bad_alloc&) {
        return -14;
    }
}
