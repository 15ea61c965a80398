// Bus ports: one channel per write, each a segment named after its type, number and name,
// read back by channel name or number.
#include <cstring>
#include <new>
#include <string>
#include <type_traits>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"
#include "corekit80/streams/TCBusSerializeHelper.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;

// One channel appended to the output's open block (opened when needed) as a segment named
// by the bus serialize helper: 1, 0 when the output does not take it, or the stream's code.
// write(stream, segmentName, ti) answers as the stream's bus writes.
template <class W>
int WriteChannel(TCPortHelper& h, Impl& d, unsigned output, unsigned long code, const char* declarator, int channel,
                 const char* name, const TCTypeInfo& ti, W write)
{
    Impl::PORT* p = d.WritePort(output, TCPortHelper::DT_MULTITYPE);
    if (!p)
        return 0;
    TCString segment;
    try {
        int tokens = 0;
        const TCString text = TCPortDataType::GetTypeStr(code, declarator, &tokens);
        segment = TCBusSerializeHelper::GenSegmentName(code, text, tokens, channel, name ? name : "",
                                                       h.RandomString());
    } catch (const std::bad_alloc&) {
        return h.SetErrMsg(-14, PT_OUTPUT, output, -1);
    }
    int r = p->segmentsOpen ? 1 : p->stream->StartWriteSegments();
    if (r < 1)
        return r < 0 ? h.SetErrMsg(r, PT_OUTPUT, output, -1) : 0;
    r = write(*p->stream, static_cast<const char*>(segment), &ti);
    if (r < 0)
        return h.SetErrMsg(r, PT_OUTPUT, output, -1);
    p->segmentsOpen = true;
    return 1;
}

// A channel of n values: typed as the single type for one value, else as the array type.
template <class T>
int WriteValues(TCPortHelper& h, Impl& d, unsigned output, unsigned n, const T* values, unsigned long single,
                unsigned long array, int channel, const char* name, const TCTypeInfo& ti)
{
    if (!values || n == 0 || n > 0x7FFFFFFFu)
        return 0;
    return WriteChannel(h, d, output, n == 1 ? single : array, nullptr, channel, name, ti,
                        [&](TCIOStream& s, const char* seg, const TCTypeInfo* t) {
                            return s.WriteBusSegment(seg, values, int(n), t);
                        });
}

bool Matches(TCBusSerializeHelper& b, const char* name) { return name && std::strcmp(b.GetSegmentName(), name) == 0; }
bool Matches(TCBusSerializeHelper& b, int channel) { return b.PortIdx() == channel; }

// The index of the first segment of the taken block holding channel key, -1 when none.
template <class Key>
int FindChannel(const TCIOStream& s, Key key)
{
    TCBusSerializeHelper b;
    for (int i = 0, n = s.SegmentCnt(); i < n; ++i)
        if (b.ParseSegmentName(s.SegmentName(i)) && Matches(b, key))
            return i;
    return -1;
}

std::string Where(const char* name) { return std::string("'") + name + "'"; }
std::string Where(int channel) { return std::to_string(channel); }

// A read of channel key from the block taken by StartReadMultitype: 0 without that channel,
// read(stream, segmentIndex)'s result, and a channel of another type told through the error
// port (what names the kind of value) and recorded as -2.
template <class Key, class F>
int ReadChannel(TCPortHelper& h, Impl& d, unsigned input, Key key, const char* what, F read)
{
    TCIOStream* s = d.SegmentStream(input);
    const int index = s ? FindChannel(*s, key) : -1;
    if (index < 0)
        return 0;
    const int r = read(*s, index);
    if (r == -2) {
        try {
            const std::string text =
                std::string("Datatype does not match while reading BUS ") + what + " at channel " + Where(key);
            h.WriteError(text.c_str(), false);
        } catch (const std::bad_alloc&) {
        }
    }
    return r < 0 ? h.SetErrMsg(r, PT_INPUT, input, -1) : r;
}

// The last element of a channel as one value.
template <class Key, class T>
int ReadLast(TCPortHelper& h, Impl& d, unsigned input, Key key, const char* what, T& value, TCTypeInfo* ti)
{
    return ReadChannel(h, d, input, key, what, [&](TCIOStream& s, int index) {
        std::conditional_t<std::is_arithmetic_v<T>, TCArray<T, T>, TCArray<T>> values;
        const int r = s.ReadBusSegment(index, values, ti);
        if (r < 1 || values.GetSize() == 0)
            return r < 0 ? r : 0;
        value = values[values.GetSize() - 1];
        return 1;
    });
}

template <class Key, class Array>
int ReadAll(TCPortHelper& h, Impl& d, unsigned input, Key key, const char* what, Array& values, TCTypeInfo* ti)
{
    return ReadChannel(h, d, input, key, what,
                       [&](TCIOStream& s, int index) { return s.ReadBusSegment(index, values, ti); });
}

template <class Key, class T>
int ReadMatrix(TCPortHelper& h, Impl& d, unsigned input, Key key, const char* what, unsigned& rows, unsigned& cols,
               T** data, TCTypeInfo* ti)
{
    return ReadChannel(h, d, input, key, what, [&](TCIOStream& s, int index) {
        int r0 = 0, c0 = 0;
        const int r = s.ReadBusSegment(index, r0, c0, data, ti);
        if (r == 1) {
            rows = unsigned(r0);
            cols = unsigned(c0);
        }
        return r;
    });
}

template <class Key>
int ReadPtr(TCPortHelper& h, Impl& d, unsigned input, Key key, unsigned& n, void** p, TCTypeInfo* ti)
{
    return ReadChannel(h, d, input, key, "pointer value", [&](TCIOStream& s, int index) {
        int size = 0;
        const int r = s.ReadBusSegment(index, size, p, ti);
        if (r == 1)
            n = unsigned(size);
        return r;
    });
}

template <class Key>
int ChannelCount(Impl& d, unsigned input, Key key, bool elements)
{
    const TCIOStream* s = d.SegmentStream(input);
    const int index = s ? FindChannel(*s, key) : -1;
    if (index < 0)
        return 0;
    return elements ? s->BusSegmentElementCnt(index) : s->BusSegmentCnt(index);
}

}  // namespace

int TCPortHelper::WriteIntBusBlock(unsigned output, int value, int channel, const char* name, const TCTypeInfo& ti)
{
    return WriteIntDataBusBlock(output, 1, &value, channel, name, ti);
}

int TCPortHelper::WriteDblBusBlock(unsigned output, double value, int channel, const char* name, const TCTypeInfo& ti)
{
    return WriteDblDataBusBlock(output, 1, &value, channel, name, ti);
}

int TCPortHelper::WriteStringBusBlock(unsigned output, const TCString& value, int channel, const char* name,
                                      const TCTypeInfo& ti)
{
    return WriteStringDataBusBlock(output, 1, &value, channel, name, ti);
}

int TCPortHelper::WriteIntDataBusBlock(unsigned output, unsigned n, const int* values, int channel, const char* name,
                                       const TCTypeInfo& ti)
{
    return WriteValues(*this, *m_pImpl, output, n, values, DT_SWORD, DT_SWORD_ARRAY, channel, name, ti);
}

int TCPortHelper::WriteDblDataBusBlock(unsigned output, unsigned n, const double* values, int channel,
                                       const char* name, const TCTypeInfo& ti)
{
    return WriteValues(*this, *m_pImpl, output, n, values, DT_DOUBLE, DT_DOUBLE_ARRAY, channel, name, ti);
}

int TCPortHelper::WriteStringDataBusBlock(unsigned output, unsigned n, const TCString* values, int channel,
                                          const char* name, const TCTypeInfo& ti)
{
    return WriteValues(*this, *m_pImpl, output, n, values, DT_STRING, DT_STRING_ARRAY, channel, name, ti);
}

int TCPortHelper::WriteIntMatrixBusBlock(unsigned output, unsigned rows, unsigned cols, const int* data, bool copy,
                                         int channel, const char* name, const TCTypeInfo& ti)
{
    if (!data || rows == 0 || cols == 0 || rows > 0x7FFFFFFFu || cols > 0x7FFFFFFFu / rows)
        return 0;
    return WriteChannel(*this, *m_pImpl, output, DT_SWORD_MATRIX, nullptr, channel, name, ti,
                        [&](TCIOStream& s, const char* seg, const TCTypeInfo* t) {
                            return s.WriteBusSegment(seg, data, int(rows), int(cols), copy, t);
                        });
}

int TCPortHelper::WriteDblMatrixBusBlock(unsigned output, unsigned rows, unsigned cols, const double* data, bool copy,
                                         int channel, const char* name, const TCTypeInfo& ti)
{
    if (!data || rows == 0 || cols == 0 || rows > 0x7FFFFFFFu || cols > 0x7FFFFFFFu / rows)
        return 0;
    return WriteChannel(*this, *m_pImpl, output, DT_DOUBLE_MATRIX, nullptr, channel, name, ti,
                        [&](TCIOStream& s, const char* seg, const TCTypeInfo* t) {
                            return s.WriteBusSegment(seg, data, int(rows), int(cols), copy, t);
                        });
}

int TCPortHelper::WritePtrBusBlock(unsigned output, unsigned n, const void* data, const char* declarator,
                                   int channel, const char* name, const TCTypeInfo& ti)
{
    if (!data || n > 0x7FFFFFFFu)
        return 0;
    return WriteChannel(*this, *m_pImpl, output, DT_POINTER, declarator, channel, name, ti,
                        [&](TCIOStream& s, const char* seg, const TCTypeInfo* t) {
                            return s.WriteBusSegment(seg, data, int(n), t);
                        });
}

#define TC_BUS_READS(Key)                                                                                          \
    int TCPortHelper::ReadIntBusBlock(unsigned input, Key key, int& value, TCTypeInfo* ti)                         \
    {                                                                                                              \
        return ReadLast(*this, *m_pImpl, input, key, "int value", value, ti);                                      \
    }                                                                                                              \
    int TCPortHelper::ReadDblBusBlock(unsigned input, Key key, double& value, TCTypeInfo* ti)                      \
    {                                                                                                              \
        return ReadLast(*this, *m_pImpl, input, key, "double value", value, ti);                                   \
    }                                                                                                              \
    int TCPortHelper::ReadStringBusBlock(unsigned input, Key key, TCString& value, TCTypeInfo* ti)                 \
    {                                                                                                              \
        return ReadLast(*this, *m_pImpl, input, key, "string value", value, ti);                                   \
    }                                                                                                              \
    int TCPortHelper::ReadIntArrayBusBlock(unsigned input, Key key, TCArray<int, int>& values, TCTypeInfo* ti)     \
    {                                                                                                              \
        return ReadAll(*this, *m_pImpl, input, key, "int array", values, ti);                                      \
    }                                                                                                              \
    int TCPortHelper::ReadDblArrayBusBlock(unsigned input, Key key, TCArray<double, double>& values,               \
                                           TCTypeInfo* ti)                                                         \
    {                                                                                                              \
        return ReadAll(*this, *m_pImpl, input, key, "double array", values, ti);                                   \
    }                                                                                                              \
    int TCPortHelper::ReadStringArrayBusBlock(unsigned input, Key key, TCArray<TCString>& values, TCTypeInfo* ti)  \
    {                                                                                                              \
        return ReadAll(*this, *m_pImpl, input, key, "string array", values, ti);                                   \
    }                                                                                                              \
    int TCPortHelper::ReadIntMatrixBusBlock(unsigned input, Key key, unsigned& rows, unsigned& cols, int** data,   \
                                            TCTypeInfo* ti)                                                        \
    {                                                                                                              \
        return ReadMatrix(*this, *m_pImpl, input, key, "int matrix", rows, cols, data, ti);                        \
    }                                                                                                              \
    int TCPortHelper::ReadDblMatrixBusBlock(unsigned input, Key key, unsigned& rows, unsigned& cols,               \
                                            double** data, TCTypeInfo* ti)                                         \
    {                                                                                                              \
        return ReadMatrix(*this, *m_pImpl, input, key, "double matrix", rows, cols, data, ti);                     \
    }                                                                                                              \
    int TCPortHelper::ReadPtrBusBlock(unsigned input, Key key, unsigned& n, void** data, TCTypeInfo* ti)           \
    {                                                                                                              \
        return ReadPtr(*this, *m_pImpl, input, key, n, data, ti);                                                  \
    }                                                                                                              \
    int TCPortHelper::GetBusBlockCnt(unsigned input, Key key) { return ChannelCount(*m_pImpl, input, key, false); } \
    int TCPortHelper::GetBusBlockElementCnt(unsigned input, Key key)                                               \
    {                                                                                                              \
        return ChannelCount(*m_pImpl, input, key, true);                                                           \
    }

// The same reads by channel name and by channel number.
TC_BUS_READS(const char*)
TC_BUS_READS(int)
#undef TC_BUS_READS

bool TCPortHelper::SplitBusChannelName(const char* segment, int* channel, TCString* name, TCString* compCheck,
                                       unsigned long* dataType, TCString* validation)
{
    TCBusSerializeHelper b;
    if (!segment || !b.ParseSegmentName(segment))
        return false;
    if (channel)
        *channel = b.PortIdx();
    if (name)
        *name = b.GetSegmentName();
    if (compCheck)
        *compCheck = b.CompCheck();
    if (dataType)
        *dataType = b.GetDataType();
    if (validation)
        *validation = b.GetValidation();
    return true;
}
