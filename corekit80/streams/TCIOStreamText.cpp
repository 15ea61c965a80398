// The diagnostic text of the blocks queued at an input, shown as a port's content.
#include <algorithm>
#include <new>

#include "corekit80/streams/TCAddressTextImpl.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using DataSegment = TCIOStream::DataSegment;
using Block = TCIOStream::Block;

constexpr int kNoLimit = -1;

bool Over(const TCString& text, int limit) { return limit != kNoLimit && text.GetLength() > limit; }

int Remaining(int limit, const TCString& used)
{
    return limit == kNoLimit ? kNoLimit : std::max(limit - used.GetLength(), 0);
}

void AppendBlock(TCString& text, const Block& b, int limit, bool withTI, StringFormat format,
                 int precision);

// The values of a segment; element loops stop once text is longer than limit.
void AppendValues(TCString& text, const DataSegment& seg, int limit, StringFormat format,
                  int precision)
{
    const int n = seg.ElementCount();
    switch (seg.m_type) {
    case TCIOStream::POINTER:
        text += "(pointer) ";
        TCAppendAddressText(text, seg.m_pData);
        return;
    case TCIOStream::BLOCK: {
        text += "(blocks)\r\n";
        Block* const* blocks = static_cast<Block* const*>(seg.m_pData);
        for (int i = 0; i < n && !Over(text, limit); ++i) {
            if (blocks[i]) {
                TCString nested;
                AppendBlock(nested, *blocks[i], Remaining(limit, text), true, format, precision);
                text += nested;
            }
            text += "\r\n";
        }
        return;
    }
    default: break;
    }
    if (!seg.m_bOwned) {
        text += " ";
        TCAppendAddressText(text, seg.m_pData);
        text += " ";
    }
    if (seg.m_type == TCIOStream::INT) {
        text += "(int) ";
        const int32_t* v = static_cast<const int32_t*>(seg.m_pData);
        for (int i = 0; i < n && !Over(text, limit); ++i)
            text.FormatAppend("%d ", v[i]);
    } else if (seg.m_type == TCIOStream::DOUBLE) {
        text += "(double) ";
        const double* v = static_cast<const double*>(seg.m_pData);
        char buf[1024];
        for (int i = 0; i < n && !Over(text, limit); ++i)
            text.Append(buf, ftoa(v[i], buf, format, false, " ", 2, precision));
    } else if (seg.m_type == TCIOStream::STRING) {
        text += "(string) ";
        const TCString* v = static_cast<const TCString*>(seg.m_pData);
        for (int i = 0; i < n && !Over(text, limit); ++i) {
            TCString shown(v[i]);
            for (int k = 0; k < shown.GetLength(); ++k) {
                unsigned char c = static_cast<unsigned char>(shown[k]);
                if (c < 32 && c != '\t' && c != '\r' && c != '\n')
                    shown.SetAt(k, char(0xB7));
            }
            text.FormatAppend("[%d] \"", v[i].GetLength());
            text.Append(shown, shown.GetLength());
            text += "\" ";
        }
    }
}

void AppendSegment(TCString& text, const DataSegment& seg, int limit, StringFormat format,
                   int precision)
{
    TCString own;
    if (!seg.m_name.IsEmpty()) {
        own.Append(seg.m_name, seg.m_name.GetLength());
        own += " ";
    }
    if (seg.m_nDims > 0) {
        own += "[";
        for (int i = 0; i < seg.m_nDims; ++i)
            own.FormatAppend(i + 1 < seg.m_nDims ? "%d, " : "%d] ", seg.m_dims.GetData()[i]);
    }
    AppendValues(own, seg, limit, format, precision);
    if (Over(own, limit))
        own = limit > 3 ? own.Left(limit - 3) + "..." : own.Left(limit);
    text += own;
}

void AppendBlock(TCString& text, const Block& b, int limit, bool withTI, StringFormat format,
                 int precision)
{
    TCString own;
    if (withTI && b.GetTI())
        own = b.GetTI()->ConvertToString(limit);
    for (const std::unique_ptr<DataSegment>& seg : b.m_segments) {
        if (limit != kNoLimit && own.GetLength() >= limit)
            break;
        if (seg->m_bValid)
            AppendSegment(own, *seg, Remaining(limit, own), format, precision);
    }
    text += own;
}

} // namespace

TCString TCIOStream::ConvertToString(int block, int maxLen, bool withTI, StringFormat format,
                                     int precision)
{
    TCString result;
    if (!m_bInput || block >= m_fan.m_queue.GetCount())
        return result;
    if (precision == -1)
        precision = m_nPrecision;
    const bool oneBlock = block != -1 || maxLen < -1;
    const int limit = maxLen < 0 ? kNoLimit : maxLen;
    try {
        const BlockQueue& queue = m_fan.m_queue;
        for (POSITION pos = queue.FindIndex(block > 0 ? block : 0); pos;) {
            AppendBlock(result, *queue.GetNext(pos), Remaining(limit, result), withTI, format,
                        precision);
            result += "\r\n";
            if (oneBlock || (limit != kNoLimit && result.GetLength() >= limit))
                break;
        }
    } catch (const std::bad_alloc&) {
        result.Empty();
    }
    return result;
}
