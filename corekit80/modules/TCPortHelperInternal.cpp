// The ports' internal buffers: blocks read into them, buffers allocated and written out.
#include <climits>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;
using DATATYPE = TCIOStream::DATATYPE;

// The buffer of kind as vector or matrix; the other kinds emptied, as after a failed read.
void Hold(Impl::PORT& p, DATATYPE kind, bool matrix, int rows, int cols)
{
    if (kind != TCIOStream::INT)
        p.ints.SetSize(0);
    if (kind != TCIOStream::DOUBLE)
        p.doubles.SetSize(0);
    if (kind != TCIOStream::STRING)
        p.texts.SetSize(0);
    p.held = kind;
    p.heldMatrix = matrix;
    p.rows = rows;
    p.cols = cols;
}

// A matrix read into the buffer: read(rows, cols, data) as the port helper's matrix reads.
template <class T, class Read>
int CopyMatrix(Impl::PORT& p, CArray<T, T>& buffer, DATATYPE kind, Read read)
{
    unsigned rows = 0, cols = 0;
    T* data = nullptr;
    const int n = read(rows, cols, &data);
    if (n <= 0) {
        p.ClearBuffer();
        return n;
    }
    buffer.SetSize(n);
    std::memcpy(buffer.GetData(), data, size_t(n) * sizeof(T));
    Hold(p, kind, true, int(rows), int(cols));
    return n;
}

// A vector read into the buffer: read(buffer) as the port helper's array reads.
template <class Array, class Read>
int CopyVector(Impl::PORT& p, Array& buffer, DATATYPE kind, Read read)
{
    const int n = read(buffer);
    Hold(p, n > 0 ? kind : TCIOStream::UNDEF, false, n > 0 ? 1 : 0, n > 0 ? n : 0);
    return n;
}

// The buffer of port when it holds kind (as a matrix when matrix), else null.
template <class Array, class T = decltype(std::declval<Array&>().GetData())>
T Access(Impl::PORT* p, DATATYPE kind, bool matrix, Array Impl::PORT::*buffer, unsigned* n, unsigned* rows,
         unsigned* cols)
{
    const bool ok = p && p->held == kind && (!matrix || p->heldMatrix);
    if (n)
        *n = ok ? unsigned((p->*buffer).GetSize()) : 0;
    if (rows)
        *rows = ok ? unsigned(p->rows) : 0;
    if (cols)
        *cols = ok ? unsigned(p->cols) : 0;
    return ok ? (p->*buffer).GetData() : nullptr;
}

// The output's buffer sized for rows x cols of kind, or null.
template <class Array, class T = decltype(std::declval<Array&>().GetData())>
T Alloc(Impl& d, unsigned output, bool fits, DATATYPE kind, bool matrix, unsigned rows, unsigned cols,
        Array Impl::PORT::*buffer)
{
    Impl::PORT* p = d.Port(PT_OUTPUT, output);
    if (!p || !fits || rows > unsigned(INT_MAX) || (rows && cols > unsigned(INT_MAX) / rows))
        return nullptr;
    const int n = int(rows * cols);
    try {
        (p->*buffer).SetSize(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Hold(*p, kind, matrix, int(rows), int(cols));
    return (p->*buffer).GetData();
}

}  // namespace

int TCPortHelper::ReadInternalData(unsigned input)
{
    TCPortHelperImpl& d = *m_pImpl;
    TCPortHelperImpl::PORT* p = d.Port(PT_INPUT, input);
    const unsigned long code = d.CodeOf(p);
    if (!d.ReadStream(input, DT_SWORD_FAMILY | DT_SWORD_MATRIX_ELEMENT | DT_DOUBLE_FAMILY |
                                 DT_DOUBLE_MATRIX_ELEMENT | DT_STRING_FAMILY))
        return 0;
    try {
        if (code & DT_SWORD_MATRIX_ELEMENT)
            return CopyMatrix(*p, p->ints, TCIOStream::INT, [&](unsigned& r, unsigned& c, int** data) {
                return ReadIntMatrix(input, r, c, data);
            });
        if (code & DT_SWORD_FAMILY)
            return CopyVector(*p, p->ints, TCIOStream::INT,
                              [&](CArray<int, int>& b) { return ReadIntArray(input, b); });
        if (code & DT_DOUBLE_MATRIX_ELEMENT)
            return CopyMatrix(*p, p->doubles, TCIOStream::DOUBLE, [&](unsigned& r, unsigned& c, double** data) {
                return ReadDblMatrix(input, r, c, data);
            });
        if (code & DT_DOUBLE_FAMILY)
            return CopyVector(*p, p->doubles, TCIOStream::DOUBLE,
                              [&](CArray<double, double>& b) { return ReadDblArray(input, b); });
        return CopyVector(*p, p->texts, TCIOStream::STRING,
                          [&](CArray<TCString>& b) { return ReadStringArray(input, b); });
    } catch (const std::bad_alloc&) {
        p->ClearBuffer();
        return SetErrMsg(-14, PT_INPUT, input, -1);
    }
}

int* TCPortHelper::AccessIntData(unsigned input, unsigned& n)
{
    return Access(m_pImpl->Port(PT_INPUT, input), TCIOStream::INT, false, &TCPortHelperImpl::PORT::ints, &n,
                  nullptr, nullptr);
}

double* TCPortHelper::AccessDblData(unsigned input, unsigned& n)
{
    return Access(m_pImpl->Port(PT_INPUT, input), TCIOStream::DOUBLE, false, &TCPortHelperImpl::PORT::doubles,
                  &n, nullptr, nullptr);
}

TCString* TCPortHelper::AccessStringData(unsigned input, unsigned& n)
{
    TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    const bool ok = p && p->held == TCIOStream::STRING;
    n = ok ? unsigned(p->texts.GetSize()) : 0;
    return ok ? p->texts.GetData() : nullptr;
}

int* TCPortHelper::AccessIntMatrix(unsigned input, unsigned& rows, unsigned& cols)
{
    return Access(m_pImpl->Port(PT_INPUT, input), TCIOStream::INT, true, &TCPortHelperImpl::PORT::ints, nullptr,
                  &rows, &cols);
}

double* TCPortHelper::AccessDblMatrix(unsigned input, unsigned& rows, unsigned& cols)
{
    return Access(m_pImpl->Port(PT_INPUT, input), TCIOStream::DOUBLE, true, &TCPortHelperImpl::PORT::doubles,
                  nullptr, &rows, &cols);
}

int* TCPortHelper::AllocIntData(unsigned output, unsigned n)
{
    const bool fits = DoesDataTypeMatch(PT_OUTPUT, output, DT_SWORD_FAMILY | DT_SWORD_MATRIX_ELEMENT, CHECK_ANY_BIT);
    return Alloc(*m_pImpl, output, fits, TCIOStream::INT, false, 1, n, &TCPortHelperImpl::PORT::ints);
}

double* TCPortHelper::AllocDblData(unsigned output, unsigned n)
{
    // Any type from the doubles up takes a double buffer.
    const bool fits = (DataType(PT_OUTPUT, output, nullptr) & 0xFF) >= 0x10;
    return Alloc(*m_pImpl, output, fits, TCIOStream::DOUBLE, false, 1, n, &TCPortHelperImpl::PORT::doubles);
}

TCString* TCPortHelper::AllocStringData(unsigned output, unsigned n)
{
    TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output);
    if (!p || !(m_pImpl->CodeOf(p) & DT_STRING_FAMILY) || n > unsigned(INT_MAX))
        return nullptr;
    try {
        p->texts.SetSize(int(n));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Hold(*p, TCIOStream::STRING, false, 1, int(n));
    return p->texts.GetData();
}

int* TCPortHelper::AllocIntMatrix(unsigned output, unsigned rows, unsigned cols)
{
    const bool fits = DoesDataTypeMatch(PT_OUTPUT, output, DT_SWORD_FAMILY | DT_SWORD_MATRIX_ELEMENT, CHECK_ANY_BIT);
    return Alloc(*m_pImpl, output, fits, TCIOStream::INT, true, rows, cols, &TCPortHelperImpl::PORT::ints);
}

double* TCPortHelper::AllocDblMatrix(unsigned output, unsigned rows, unsigned cols)
{
    const bool fits = (DataType(PT_OUTPUT, output, nullptr) & 0xFF) >= 0x10;
    return Alloc(*m_pImpl, output, fits, TCIOStream::DOUBLE, true, rows, cols, &TCPortHelperImpl::PORT::doubles);
}

int TCPortHelper::WriteInternalData(unsigned output)
{
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output);
    if (!p)
        return 0;
    if (p->heldMatrix)
        return WriteInternalMatrix(output, unsigned(p->rows), unsigned(p->cols));
    switch (p->held) {
    case TCIOStream::INT:
        return WriteIntData(output, unsigned(p->ints.GetSize()), p->ints.GetData());
    case TCIOStream::DOUBLE:
        return WriteDblData(output, unsigned(p->doubles.GetSize()), p->doubles.GetData());
    case TCIOStream::STRING:
        return WriteStringData(output, unsigned(p->texts.GetSize()), p->texts.GetData());
    default:
        return 0;
    }
}

// 0 when rows x cols does not fit in the buffer.
int TCPortHelper::WriteInternalMatrix(unsigned output, unsigned rows, unsigned cols)
{
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output);
    if (!p || rows == 0 || cols > unsigned(INT_MAX) / rows)
        return 0;
    const unsigned long long n = (unsigned long long)rows * cols;
    if (p->held == TCIOStream::INT && n <= unsigned(p->ints.GetSize()))
        return WriteIntMatrix(output, rows, cols, p->ints.GetData());
    if (p->held == TCIOStream::DOUBLE && n <= unsigned(p->doubles.GetSize()))
        return WriteDblMatrix(output, rows, cols, p->doubles.GetData());
    return 0;
}

// Whether count values at data, shaped rows x cols, equal the buffer.
template <class T, class Array>
static bool SameAs(const Impl::PORT& p, const Array& buffer, const T* data, int count, int rows, int cols)
{
    if (count != buffer.GetSize() || rows != p.rows || cols != p.cols)
        return false;
    for (int i = 0; i < count; ++i)
        if constexpr (std::is_same_v<T, TCString>) {
            if (data[i].CompareBin(buffer[i]) != 0)
                return false;
        } else if (!(data[i] == buffer[i])) {
            return false;
        }
    return true;
}

int TCPortHelper::CompareWithInternalData(unsigned input)
{
    TCPortHelperImpl& d = *m_pImpl;
    TCIOStream* s = d.ReadStream(input, DT_SWORD_FAMILY | DT_SWORD_MATRIX_ELEMENT | DT_DOUBLE_FAMILY |
                                            DT_DOUBLE_MATRIX_ELEMENT | DT_STRING_FAMILY);
    if (!s)
        return 0;
    const TCPortHelperImpl::PORT& p = d.inputs[int(input)];
    int rows = 0, cols = 0;
    const int* iv = nullptr;
    const double* dv = nullptr;
    const TCString* tv = nullptr;
    if (int n = s->PeekIntData(0, iv, &rows, &cols); n >= 0)
        return p.held == TCIOStream::INT && SameAs(p, p.ints, iv, n, rows, cols) ? 0 : 1;
    if (int n = s->PeekDblData(0, dv, &rows, &cols); n >= 0)
        return p.held == TCIOStream::DOUBLE && SameAs(p, p.doubles, dv, n, rows, cols) ? 0 : 1;
    if (int n = s->PeekStrData(0, tv); n >= 0)
        return p.held == TCIOStream::STRING && SameAs(p, p.texts, tv, n, 1, n) ? 0 : 1;
    return 1;  // a block of another kind
}

void TCPortHelper::ClearBuffers()
{
    for (TCPortHelperImpl::PORT& p : m_pImpl->inputs)
        p.ClearBuffer();
    for (TCPortHelperImpl::PORT& p : m_pImpl->outputs)
        p.ClearBuffer();
}

void TCPortHelper::ClearBuffer(PORTTYPE type, unsigned port)
{
    if (TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port))
        p->ClearBuffer();
}

// The newest-value reads fill the family's array without marking it held, so the count
// goes by the port's type: texts for a text type, else the numbers (one kind at a time).
unsigned TCPortHelper::GetBufferSize(PORTTYPE type, unsigned port, unsigned* elemSize) const
{
    if (elemSize)
        *elemSize = unsigned(ElemSize(type, port));
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    if (!p)
        return 0;
    if (m_pImpl->CodeOf(p) & DT_STRING_FAMILY)
        return unsigned(p->texts.GetSize());
    return unsigned(p->ints.GetSize() + p->doubles.GetSize());
}
