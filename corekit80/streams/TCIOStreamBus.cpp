// Bus segments: BLOCK segments whose nested blocks are channels, each with its own type
// info and one unnamed segment holding the channel's values.
#include <new>

#include "corekit80/streams/TCIOStream.h"

int TCIOStream::WriteBus(const char* name, DATATYPE type, int dimCount, const int* dims,
                         const void* v, bool copy, const TCTypeInfo* ti)
{
    if (!WriteBlock())
        return -14;
    try {
        Block channel;
        channel.SetTI(ti);
        DataSegment* values = channel.SegmentForWrite("", false);
        if (!values->SetData(type, dimCount, dims, v, copy))
            return -14;
        const Block* one[1] = {&channel};
        const int n = 1;
        // A bus that is already valid in this block gets the channel appended.
        return AddSegment(name, BLOCK, 1, &n, one, true, true) ? 0 : -14;
    } catch (const std::bad_alloc&) {
        return -14;
    }
}

int TCIOStream::WriteBusSegment(const char* name, const int* v, int n, const TCTypeInfo* ti)
{
    return WriteBus(name, INT, 1, &n, v, true, ti);
}

int TCIOStream::WriteBusSegment(const char* name, const double* v, int n, const TCTypeInfo* ti)
{
    return WriteBus(name, DOUBLE, 1, &n, v, true, ti);
}

int TCIOStream::WriteBusSegment(const char* name, const TCString* v, int n, const TCTypeInfo* ti)
{
    return WriteBus(name, STRING, 1, &n, v, true, ti);
}

int TCIOStream::WriteBusSegment(const char* name, const int* v, int rows, int cols, bool copy,
                                const TCTypeInfo* ti)
{
    const int dims[2] = {rows, cols};
    return WriteBus(name, INT, 2, dims, v, copy, ti);
}

int TCIOStream::WriteBusSegment(const char* name, const double* v, int rows, int cols, bool copy,
                                const TCTypeInfo* ti)
{
    const int dims[2] = {rows, cols};
    return WriteBus(name, DOUBLE, 2, dims, v, copy, ti);
}

int TCIOStream::WriteBusSegment(const char* name, const void* p, int size, const TCTypeInfo* ti)
{
    return WriteBus(name, POINTER, 1, &size, p, false, ti);
}

int TCIOStream::FindBusSegment(DataSegment*& channel, int index, TCTypeInfo* ti) const
{
    channel = nullptr;
    const DataSegment* bus = m_pAct ? m_pAct->ValidSegment(index) : nullptr;
    if (!bus || bus->ElementCount() < 1)
        return 0;
    const Block* first = bus->m_type == BLOCK ? static_cast<Block* const*>(bus->m_pData)[0] : nullptr;
    if (!first || first->ValidCount() != 1)
        return -2;
    if (ti) {
        // A channel written without type info reads as a default record.
        try {
            if (const TCTypeInfo* own = first->GetTI())
                *ti = *own;
            else
                ti->Init();
        } catch (const std::bad_alloc&) {
            return -14;
        }
    }
    channel = first->ValidSegment(0);
    return 1;
}

int TCIOStream::BusSegmentCnt(int index) const
{
    const DataSegment* seg = m_pAct ? m_pAct->ValidSegment(index) : nullptr;
    return seg && seg->m_type == BLOCK && seg->ElementCount() >= 1 ? 1 : 0;
}

int TCIOStream::BusSegmentElementCnt(int index) const
{
    DataSegment* channel;
    return FindBusSegment(channel, index, nullptr) == 1 ? channel->ElementCount() : 0;
}

namespace {

template <class T, class ARG>
int CopyChannel(const TCIOStream::DataSegment* channel, TCIOStream::DATATYPE type, TCArray<T, ARG>& v)
{
    if (channel->m_type != type)
        return -2;
    int n = channel->ElementCount();
    const T* from = static_cast<const T*>(channel->m_pData);
    try {
        v.SetSize(n);
        for (int i = 0; i < n; ++i)
            v.GetData()[i] = from[i];
    } catch (const std::bad_alloc&) {
        return -14;
    }
    return 1;
}

template <class T>
int ChannelMatrix(const TCIOStream::DataSegment* channel, TCIOStream::DATATYPE type, int& rows,
                  int& cols, T** data)
{
    if (channel->m_type != type)
        return -2;
    const int* dims = channel->m_dims.GetData();
    rows = channel->m_nDims >= 2 ? dims[0] : channel->m_nDims == 1 ? 1 : 0;
    cols = channel->m_nDims >= 2 ? dims[1] : channel->m_nDims == 1 ? dims[0] : 0;
    if (data)
        *data = static_cast<T*>(channel->m_pData);
    return 1;
}

} // namespace

int TCIOStream::ReadBusSegment(int index, TCArray<int, int>& v, TCTypeInfo* ti)
{
    DataSegment* channel;
    int r = FindBusSegment(channel, index, ti);
    return r < 1 ? r : CopyChannel(channel, INT, v);
}

int TCIOStream::ReadBusSegment(int index, TCArray<double, double>& v, TCTypeInfo* ti)
{
    DataSegment* channel;
    int r = FindBusSegment(channel, index, ti);
    return r < 1 ? r : CopyChannel(channel, DOUBLE, v);
}

int TCIOStream::ReadBusSegment(int index, TCArray<TCString>& v, TCTypeInfo* ti)
{
    DataSegment* channel;
    int r = FindBusSegment(channel, index, ti);
    return r < 1 ? r : CopyChannel(channel, STRING, v);
}

int TCIOStream::ReadBusSegment(int index, int& rows, int& cols, int** data, TCTypeInfo* ti)
{
    DataSegment* channel;
    int r = FindBusSegment(channel, index, ti);
    return r < 1 ? r : ChannelMatrix(channel, INT, rows, cols, data);
}

int TCIOStream::ReadBusSegment(int index, int& rows, int& cols, double** data, TCTypeInfo* ti)
{
    DataSegment* channel;
    int r = FindBusSegment(channel, index, ti);
    return r < 1 ? r : ChannelMatrix(channel, DOUBLE, rows, cols, data);
}

int TCIOStream::ReadBusSegment(int index, int& size, void** p, TCTypeInfo* ti)
{
    DataSegment* channel;
    int r = FindBusSegment(channel, index, ti);
    if (r < 1)
        return r;
    if (channel->m_type != POINTER)
        return -2;
    size = channel->m_nDims >= 1 ? channel->m_dims.GetData()[0] : 0;
    if (p)
        *p = channel->m_pData;
    return 1;
}
