// Typed reads at the inputs: numbers, texts, whole blocks and the newest value.
#include <climits>
#include <cstring>
#include <new>
#include <type_traits>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;

// Texts of a port in the cut format end at their first zero character.
template <class Text>
void CutAtZero(Text* texts, int n)
{
    for (int i = 0; i < n; ++i) {
        const char* text = texts[i];
        if (std::strlen(text) != size_t(texts[i].GetLength()))
            texts[i] = Text(text);
    }
}

// The one path of every counted read: checks, the single-value rule, the stream call, the
// text format, the error record and the refresh. read(stream, buf, int* n) answers as the
// stream's simple reads.
template <class T, class F>
int ReadCounted(TCPortHelper& h, Impl& d, unsigned input, unsigned long family, unsigned& n, T* buf, F read)
{
    TCIOStream* s = d.ReadStream(input, family);
    if (!s)
        return 0;
    if (n > unsigned(INT_MAX))
        return h.SetErrMsg(-14, PT_INPUT, input, -1);
    const Impl::PORT& port = d.inputs[int(input)];
    int count = (d.CodeOf(&port) & TCPortHelper::DT_SINGLE_VALUE) && n > 1 ? 1 : int(n);
    const int r = read(*s, buf, &count);
    if (r < 0)
        return h.SetErrMsg(r, PT_INPUT, input, -1);
    if constexpr (!std::is_arithmetic_v<T>)
        if (r > 0 && !port.textFormat)
            CutAtZero(buf, r);
    d.Refresh(input);
    n = r > 0 ? unsigned(count) : 0;
    return r;
}

// The whole waiting block into values, sized from the block before it is taken.
template <class Array, class Read>
int ReadWhole(TCPortHelper& h, Impl& d, unsigned input, unsigned long family, Array& values, Read read)
{
    TCIOStream* s = d.ReadStream(input, family);
    if (!s)
        return 0;
    const int len = s->GetBlockLen(0, 0);
    try {
        values.SetSize(len > 0 ? len : 0);
    } catch (const std::bad_alloc&) {
        return h.SetErrMsg(-14, PT_INPUT, input, -1);
    }
    unsigned n = unsigned(values.GetSize());
    const int r = read(n, values.GetData());
    values.SetSize(r > 0 ? int(n) : 0);
    return r;
}

// The newest-value reads: the blocks they consume, each whole into the port's buffer;
// deliver(buffer) tells whether the block gave a value. A failed read's code, else whether
// any block did.
template <class Array, class ReadOne, class Deliver>
int ReadNewest(Impl& d, unsigned input, unsigned long family, bool all, Array Impl::PORT::*buffer, ReadOne readOne,
               Deliver deliver)
{
    TCIOStream* s = d.ReadStream(input, family);
    if (!s)
        return 0;
    Array& b = d.inputs[int(input)].*buffer;
    const int blocks = s->GetBlockCnt(nullptr);
    const int take = all || blocks <= 1 ? blocks : 1;
    int result = 0;
    for (int k = 0; k < take; ++k) {
        const int r = readOne(b);
        if (r < 0)
            return r;
        result |= deliver(b) ? 1 : 0;
    }
    return result;
}

}  // namespace

int TCPortHelper::ReadIntData(unsigned input, unsigned& n, int* buf)
{
    return ReadCounted(*this, *m_pImpl, input, DT_SWORD_FAMILY, n, buf,
                       [](TCIOStream& s, int* b, int* count) { return s.ReadIntVec(b, count); });
}

int TCPortHelper::ReadDblData(unsigned input, unsigned& n, double* buf)
{
    return ReadCounted(*this, *m_pImpl, input, DT_DOUBLE_FAMILY, n, buf,
                       [](TCIOStream& s, double* b, int* count) { return s.ReadDblVec(b, count); });
}

int TCPortHelper::ReadStringData(unsigned input, unsigned& n, TCString* buf)
{
    return ReadCounted(*this, *m_pImpl, input, DT_STRING_FAMILY, n, buf,
                       [](TCIOStream& s, TCString* b, int* count) { return s.ReadStrVec(b, count); });
}

int TCPortHelper::ReadCStringData(unsigned input, unsigned& n, CString* buf)
{
    return ReadCounted(*this, *m_pImpl, input, DT_STRING_FAMILY, n, buf,
                       [](TCIOStream& s, CString* b, int* count) { return s.ReadStrVec(b, count); });
}

int TCPortHelper::ReadIntArray(unsigned input, CArray<int, int>& values)
{
    return ReadWhole(*this, *m_pImpl, input, DT_SWORD_FAMILY, values,
                     [&](unsigned& n, int* buf) { return ReadIntData(input, n, buf); });
}

int TCPortHelper::ReadDblArray(unsigned input, CArray<double, double>& values)
{
    return ReadWhole(*this, *m_pImpl, input, DT_DOUBLE_FAMILY, values,
                     [&](unsigned& n, double* buf) { return ReadDblData(input, n, buf); });
}

int TCPortHelper::ReadStringArray(unsigned input, CArray<TCString>& texts)
{
    return ReadWhole(*this, *m_pImpl, input, DT_STRING_FAMILY, texts,
                     [&](unsigned& n, TCString* buf) { return ReadStringData(input, n, buf); });
}

int TCPortHelper::ReadCStringArray(unsigned input, CArray<CString>& texts)
{
    return ReadWhole(*this, *m_pImpl, input, DT_STRING_FAMILY, texts,
                     [&](unsigned& n, CString* buf) { return ReadCStringData(input, n, buf); });
}

int TCPortHelper::ReadString(unsigned input, TCString& text)
{
    unsigned n = 1;
    return ReadStringData(input, n, &text);
}

int TCPortHelper::ReadCString(unsigned input, CString& text)
{
    unsigned n = 1;
    return ReadCStringData(input, n, &text);
}

int TCPortHelper::ReadIntLastVal(unsigned input, int& value, bool all)
{
    return ReadNewest(
        *m_pImpl, input, DT_SWORD_FAMILY, all, &TCPortHelperImpl::PORT::ints,
        [&](CArray<int, int>& b) { return ReadIntArray(input, b); },
        [&](const CArray<int, int>& b) { return !b.IsEmpty() && (value = b[b.GetSize() - 1], true); });
}

int TCPortHelper::ReadDblLastVal(unsigned input, double& value, bool all)
{
    return ReadNewest(
        *m_pImpl, input, DT_DOUBLE_FAMILY, all, &TCPortHelperImpl::PORT::doubles,
        [&](CArray<double, double>& b) { return ReadDblArray(input, b); },
        [&](const CArray<double, double>& b) { return !b.IsEmpty() && (value = b[b.GetSize() - 1], true); });
}

int TCPortHelper::ReadBoolLastVal(unsigned input, bool& value, bool all)
{
    int v = 0;
    const int r = ReadIntLastVal(input, v, all);
    if (r == 1)
        value = v != 0;
    return r;
}

int TCPortHelper::ReadStringLastVal(unsigned input, TCString& value, bool all)
{
    const int r = ReadNewest(*m_pImpl, input, DT_STRING_FAMILY, all, &TCPortHelperImpl::PORT::texts,
                             [&](CArray<TCString>& b) { return ReadStringArray(input, b); },
                             [&](const CArray<TCString>& b) {
                                 value = b.IsEmpty() ? TCString() : b[b.GetSize() - 1];
                                 return true;
                             });
    return r;
}

int TCPortHelper::ReadCStringLastVal(unsigned input, CString& value, bool all)
{
    TCString text;
    const int r = ReadStringLastVal(input, text, all);
    if (r == 1)
        value = TCString2BinCString(text);
    return r;
}

// The matrix of the block taken, by pointer (see the header for how long it stays good).
template <class T, class F>
static int ReadMatrix(TCPortHelper& h, TCPortHelper::TCPortHelperImpl& d, unsigned input, unsigned long family,
                      unsigned& rows, unsigned& cols, T** data, F read)
{
    TCIOStream* s = d.ReadStream(input, family);
    if (!s || !data)
        return 0;
    int r = 0, c = 0;
    const int n = read(*s, data, r, c);
    if (n < 0)
        return h.SetErrMsg(n, PT_INPUT, input, -1);
    d.Refresh(input);
    rows = n > 0 ? unsigned(r) : 0;
    cols = n > 0 ? unsigned(c) : 0;
    return n;
}

int TCPortHelper::ReadIntMatrix(unsigned input, unsigned& rows, unsigned& cols, int** data)
{
    return ReadMatrix(*this, *m_pImpl, input, DT_SWORD_MATRIX_ELEMENT, rows, cols, data,
                      [](TCIOStream& s, int** p, int& r, int& c) { return s.ReadIntMat(p, r, c); });
}

int TCPortHelper::ReadDblMatrix(unsigned input, unsigned& rows, unsigned& cols, double** data)
{
    return ReadMatrix(*this, *m_pImpl, input, DT_DOUBLE_MATRIX_ELEMENT, rows, cols, data,
                      [](TCIOStream& s, double** p, int& r, int& c) { return s.ReadDblMat(p, r, c); });
}

int TCPortHelper::ReadValAndPtr(unsigned input, unsigned& n, void** ptrs)
{
    TCIOStream* s = m_pImpl->ReadStream(input, TCPortHelperImpl::POINTER_FAMILY);
    if (!s || !ptrs)
        return 0;
    int size = 0;
    const int r = s->ReadPtr(ptrs, &size);
    m_pImpl->Refresh(input);
    n = r > 0 ? unsigned(size) : 0;
    return r;
}
