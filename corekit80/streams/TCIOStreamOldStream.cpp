// Blocks as old-stream text: "BUS", the segment count, and per bus segment the port index,
// the validation header and the channels, either as value items of the channel's port
// data type or, for a bus of buses, as nested block texts.
//
// Only bus segments (BLOCK segments whose names carry the four channel-name parts) have a
// form here. A block with any other segment has none: the writer then returns "" (the
// block is consumed all the same), so that whatever is written reads back.
#include <new>

#include "corekit80/porttypes/TCPortTypes.h"
#include "corekit80/streams/TCBlockStatus.h"
#include "corekit80/streams/TCBusSerializeHelper.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCIOStreamSerializeImpl.h"
#include "corekit80/streams/TCSerializeOldStream.h"

namespace {

using OS = TCSerializeOldStream;
using Block = TCIOStream::Block;
using DataSegment = TCIOStream::DataSegment;
using TCIOStreamSerialize::kMaxDepth;
using TCIOStreamSerialize::SetReadData;

// The fewest bytes one item of each kind takes: "0 ", a double item, a string item
// without its blank.
constexpr int kMinIntItem = 2;
constexpr int kMinDoubleItem = 10;
constexpr int kMinStringItem = 5;

const DataSegment* LastValidSegment(const Block& b)
{
    for (int i = b.m_segments.GetSize() - 1; i >= 0; --i)
        if (b.m_segments[i]->m_bValid)
            return b.m_segments[i].get();
    return nullptr;
}

// Rows and columns of a matrix segment: one extent is one row.
bool MatrixShape(const DataSegment& seg, int& rows, int& cols)
{
    if (seg.m_nDims < 1 || seg.m_nDims > 2)
        return false;
    rows = seg.m_nDims == 1 ? 1 : seg.m_dims[0];
    cols = seg.m_dims[seg.m_nDims - 1];
    return true;
}

// The values of a channel for the port data type code t; false when the channel's last
// valid segment does not hold what t names.
bool AppendValues(TCString& text, const Block& channel, unsigned long t)
{
    const DataSegment* seg = LastValidSegment(channel);
    if (!seg)
        return false;
    const int n = seg->ElementCount();
    const void* data = seg->m_pData;
    int rows, cols;
    switch (t & TCPortTypes::DT_ELEMENT_BITS) {
    case 0x1:
    case 0x2:
    case 0x4:
        if (seg->m_type != TCIOStream::INT || n < 1 || !data)
            return false;
        if (t & 0x1)
            text += OS::Serialize(*static_cast<const int*>(data));
        else
            text += OS::Serialize(n) + OS::Serialize(static_cast<const int*>(data), n);
        return true;
    case 0x10:
    case 0x20:
    case 0x40:
        if (seg->m_type != TCIOStream::DOUBLE || n < 1 || !data)
            return false;
        if (t & 0x10)
            text += OS::Serialize(*static_cast<const double*>(data));
        else
            text += OS::Serialize(n) + OS::Serialize(static_cast<const double*>(data), n);
        return true;
    case 0x8:
    case 0x80:
        if (seg->m_type != ((t & 0x8) ? TCIOStream::INT : TCIOStream::DOUBLE) ||
            !MatrixShape(*seg, rows, cols))
            return false;
        text += OS::Serialize(rows) + OS::Serialize(cols) + OS::Serialize(data);
        return true;
    case 0x100:
    case 0x200: {
        if (seg->m_type != TCIOStream::STRING || n < 1 || !data)
            return false;
        const TCString* strings = static_cast<const TCString*>(data);
        if (t & 0x100) {
            text += OS::Serialize(strings[0]);
            return true;
        }
        text += OS::Serialize(n);
        for (int i = 0; i < n; ++i)
            text += OS::Serialize(strings[i]);
        return true;
    }
    default: return false;
    }
}

bool AppendBlockText(TCString& text, const Block& b, int depth);

bool AppendBusSegment(TCString& text, const DataSegment& seg, int depth)
{
    TCBusSerializeHelper bus;
    const int n = seg.ElementCount();
    if (seg.m_type != TCIOStream::BLOCK || n < 1 || !seg.m_pData || !bus.ParseSegmentName(seg.m_name))
        return false;
    Block* const* channels = static_cast<Block* const*>(seg.m_pData);
    TCBLOCKSTATUS status = TCBS_INVALID;
    for (int i = 0; i < n; ++i) {
        if (!channels[i])
            return false;
        if (const TCTypeInfo* ti = channels[i]->GetTI())
            status = TCBlockStatus::Combine(status, ti->State);
    }
    // The status and type info are written even when the first channel has none (an
    // initialised record then), so that the reader finds them in every text.
    const TCTypeInfo* first = channels[0]->GetTI();
    const unsigned long t = bus.GetDataType();
    TCString items;
    for (int i = 0; i < n; ++i) {
        bool ok = (t & TCPortTypes::DT_ELEMENT_BITS) ? AppendValues(items, *channels[i], t)
                                                 : AppendBlockText(items, *channels[i], depth + 1);
        if (!ok)
            return false;
    }
    text += OS::Serialize(bus.PortIdx());
    text += bus.SerializeValidation(seg.m_name);
    text += OS::Serialize(n);
    text += OS::Serialize(status, first ? *first : TCTypeInfo());
    text += OS::Serialize(items.GetLength());
    text += items;
    return true;
}

bool AppendBlockText(TCString& text, const Block& b, int depth)
{
    if (depth > kMaxDepth)
        return false;
    text += OS::Serialize(TCString("BUS"));
    text += OS::Serialize(b.ValidCount());
    for (int i = 0; i < b.m_segments.GetSize(); ++i)
        if (b.m_segments[i]->m_bValid && !AppendBusSegment(text, *b.m_segments[i], depth))
            return false;
    return true;
}

// n values for a new segment of a channel, each taking at least minItem bytes.
bool ReadCount(int& n, int minItem, const char*& p, const char* end)
{
    return OS::DeSerialize(n, p, end) && n >= 1 && n <= (end - p) / minItem;
}

// The channel's unnamed segment from the value items of the port data type code t.
bool ReadValues(Block& channel, unsigned long t, const char*& p, const char* end)
{
    DataSegment* seg = channel.SegmentForWrite("", false);
    if (!seg)
        return false;
    const int one = 1;
    int n = 1, dims[2];
    void* address;
    switch (t & TCPortTypes::DT_ELEMENT_BITS) {
    case 0x1: {
        int v;
        return OS::DeSerialize(v, p, end) && SetReadData(*seg, TCIOStream::INT, 1, &one, &v, true);
    }
    case 0x2:
    case 0x4:
        return ReadCount(n, kMinIntItem, p, end) && SetReadData(*seg, TCIOStream::INT, 1, &n, nullptr, true) &&
               OS::DeSerialize(static_cast<int*>(seg->m_pData), n, p, end);
    case 0x10: {
        double v;
        return OS::DeSerialize(v, p, end) && SetReadData(*seg, TCIOStream::DOUBLE, 1, &one, &v, true);
    }
    case 0x20:
    case 0x40:
        return ReadCount(n, kMinDoubleItem, p, end) &&
               SetReadData(*seg, TCIOStream::DOUBLE, 1, &n, nullptr, true) &&
               OS::DeSerialize(static_cast<double*>(seg->m_pData), n, p, end);
    case 0x8:
    case 0x80:
        return OS::DeSerialize(dims[0], p, end) && OS::DeSerialize(dims[1], p, end) &&
               OS::DeSerialize(&address, p, end) &&
               SetReadData(*seg, (t & 0x8) ? TCIOStream::INT : TCIOStream::DOUBLE, 2, dims, address, false);
    case 0x100: {
        TCString s;
        return OS::DeSerialize(s, p, end) && SetReadData(*seg, TCIOStream::STRING, 1, &one, &s, true);
    }
    case 0x200: {
        if (!ReadCount(n, kMinStringItem, p, end) || !SetReadData(*seg, TCIOStream::STRING, 1, &n, nullptr, true))
            return false;
        TCString* strings = static_cast<TCString*>(seg->m_pData);
        for (int i = 0; i < n; ++i)
            if (!OS::DeSerialize(strings[i], p, end))
                return false;
        return true;
    }
    default: return false;
    }
}

// The status of part i of n channels read with the status s.
TCBLOCKSTATUS PartStatus(TCBLOCKSTATUS s, int i, int n)
{
    if (n == 1)
        return s;
    if (i == 0)
        return TCBlockStatus::HasStart(s) ? TCBS_START : TCBS_BUSY;
    if (i == n - 1)
        return TCBlockStatus::HasStop(s) ? TCBS_STOP : TCBS_BUSY;
    return TCBS_BUSY;
}

bool ReadBlockText(Block& b, const char*& p, const char* end, int depth);

bool ReadBusSegmentText(Block& b, const char*& p, const char* end, int depth)
{
    TCBusSerializeHelper bus;
    TCString name;
    if (!OS::DeSerialize(bus.PortIdx(), p, end) || !bus.DeSerializeValidation(name, p, end))
        return false;
    const unsigned long t = bus.GetDataType();
    DataSegment* seg = b.SegmentForWrite(name, false);
    int n, length;
    TCBLOCKSTATUS s;
    TCTypeInfo ti;
    if (!seg || !OS::DeSerialize(n, p, end) || !OS::DeSerialize(s, ti, p, end) ||
        !OS::DeSerialize(length, p, end) || length < 0 || length > end - p)
        return false;
    // The items are read within their stated length, and reading goes on after it.
    const char* items = p;
    const char* itemsEnd = p + length;
    p = itemsEnd;
    if (length == 0) {
        seg->m_bValid = false;
        return true;
    }
    if (n < 1 || n > length || !SetReadData(*seg, TCIOStream::BLOCK, 1, &n, nullptr, true))
        return false;
    Block** channels = static_cast<Block**>(seg->m_pData);
    for (int i = 0; i < n; ++i) {
        bool ok = (t & TCPortTypes::DT_ELEMENT_BITS) ? ReadValues(*channels[i], t, items, itemsEnd)
                                                 : ReadBlockText(*channels[i], items, itemsEnd, depth + 1);
        if (!ok)
            return false;
        ti.State = PartStatus(s, i, n);
        channels[i]->SetTI(&ti);
    }
    return true;
}

bool ReadBlockText(Block& b, const char*& p, const char* end, int depth)
{
    if (depth > kMaxDepth)
        return false;
    b.Reset(true);
    TCString head; // its content is not looked at
    int count;
    if (!OS::DeSerialize(head, p, end) || !OS::DeSerialize(count, p, end))
        return false;
    for (int i = 0; i < count; ++i)
        if (!ReadBusSegmentText(b, p, end, depth))
            return false;
    return true;
}

} // namespace

TCString TCIOStream::SerializeForOldStream()
{
    if (!GetFanIn() || RemoveBlock(true) < 1)
        return TCString();
    try {
        TCString text;
        return AppendBlockText(text, *GetActBlock(), 0) ? text : TCString();
    } catch (const std::bad_alloc&) {
        return TCString();
    }
}

int TCIOStream::DeSerializeForOldStream(const char* text, int length)
{
    int r = ReserveBlock(true);
    if (r < 1)
        return r;
    if (!text || length < 0)
        return 0;
    const char* p = text;
    try {
        if (!ReadBlockText(*GetActBlock(), p, text + length, 0))
            return 0;
    } catch (const std::bad_alloc&) {
        return -14;
    }
    return DispatchBlock() ? int(p - text) : -14;
}
