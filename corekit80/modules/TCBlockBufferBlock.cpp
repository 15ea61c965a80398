// TCBlockBuffer::TCBlock: the element array by data type, its growth and deep copies.
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/types/TCString.h"

using TCBlock = TCBlockBuffer::TCBlock;

namespace {

using H = TCPortHelper;

enum class Storage { NONE, BYTES, INTS, DOUBLES, TEXTS };

Storage StorageOf(unsigned long type)
{
    switch (type) {
    case 0: return Storage::BYTES;
    case H::DT_SWORD:
    case H::DT_SWORD_1:
    case H::DT_SWORD_ARRAY:
    case H::DT_SWORD_MATRIX_ELEMENT: return Storage::INTS;
    case H::DT_DOUBLE:
    case H::DT_DOUBLE_1:
    case H::DT_DOUBLE_ARRAY:
    case H::DT_DOUBLE_MATRIX_ELEMENT: return Storage::DOUBLES;
    case H::DT_STRING:
    case H::DT_STRING_ARRAY: return Storage::TEXTS;
    default: return Storage::NONE;
    }
}

template <class T>
T* NewArray(int n)
{
    return new (std::nothrow) T[size_t(n)]();
}

}  // namespace

unsigned long TCBlock::MakeCompatibleDatatype(unsigned long type)
{
    switch (type) {
    case 0: return 0;
    case H::DT_SWORD:
    case H::DT_SWORD_1:
    case H::DT_SWORD_ARRAY: return H::DT_SWORD_FAMILY;
    case H::DT_DOUBLE:
    case H::DT_DOUBLE_1:
    case H::DT_DOUBLE_ARRAY: return H::DT_DOUBLE_FAMILY;
    case H::DT_STRING:
    case H::DT_STRING_ARRAY: return H::DT_STRING_FAMILY;
    default: return type;  // the matrix types are groups of their own
    }
}

int TCBlock::ElemSize(unsigned long type)
{
    switch (StorageOf(type)) {
    case Storage::INTS: return int(sizeof(int));
    case Storage::DOUBLES: return int(sizeof(double));
    case Storage::BYTES:
    case Storage::TEXTS: return 1;
    default: return 0;
    }
}

void* TCBlock::Alloc(int n, unsigned long type)
{
    if (n <= 0)
        return nullptr;
    switch (StorageOf(type)) {
    case Storage::BYTES: return NewArray<char>(n);
    case Storage::INTS: return NewArray<int>(n);
    case Storage::DOUBLES: return NewArray<double>(n);
    case Storage::TEXTS: return NewArray<TCString>(n);
    default: return nullptr;
    }
}

void TCBlock::Free(void* data, unsigned long type)
{
    switch (StorageOf(type)) {
    case Storage::BYTES: delete[] static_cast<char*>(data); break;
    case Storage::INTS: delete[] static_cast<int*>(data); break;
    case Storage::DOUBLES: delete[] static_cast<double*>(data); break;
    case Storage::TEXTS: delete[] static_cast<TCString*>(data); break;
    default: break;
    }
}

void TCBlock::CopyData(void* to, const void* from, unsigned n, unsigned long type)
{
    if (!to || !from || n == 0)
        return;
    if (StorageOf(type) == Storage::TEXTS)
        std::copy_n(static_cast<const TCString*>(from), n, static_cast<TCString*>(to));
    else
        std::memcpy(to, from, size_t(n) * size_t(ElemSize(type)));
}

TCBlock::TCBlock(unsigned long dataType) : m_dataType(dataType) {}

TCBlock::TCBlock(const TCBlock& other)
    : m_size(other.m_size),
      m_columns(other.m_columns),
      m_reserved(other.m_reserved),
      m_dataType(other.m_dataType),
      m_ti(other.m_ti)
{
    // Room for the elements in use only: the copy's own array, never the other's.
    m_data = Alloc(m_size, m_dataType);
    if (!m_data && ElemSize(m_dataType) > 0 && m_size > 0)
        throw std::bad_alloc();
    m_alloc = m_data || ElemSize(m_dataType) == 0 ? m_size : 0;
    CopyData(m_data, other.m_data, unsigned(m_size), m_dataType);
}

TCBlock& TCBlock::operator=(const TCBlock& other)
{
    if (this == &other)
        return *this;
    if (m_dataType != other.m_dataType || m_alloc < other.m_size) {
        TCBlock copy(other);
        std::swap(m_data, copy.m_data);
        std::swap(m_alloc, copy.m_alloc);
        std::swap(m_dataType, copy.m_dataType);
    } else {
        CopyData(m_data, other.m_data, unsigned(other.m_size), m_dataType);
    }
    m_size = other.m_size;
    m_columns = other.m_columns;
    m_reserved = other.m_reserved;
    m_ti = other.m_ti;
    return *this;
}

TCBlock::~TCBlock() { Free(m_data, m_dataType); }

bool TCBlock::SetSize(unsigned n)
{
    if (n > unsigned(INT_MAX))
        return false;
    if (int(n) > m_alloc) {
        void* grown = Alloc(int(n), m_dataType);
        if (!grown && ElemSize(m_dataType) > 0)
            return false;
        CopyData(grown, m_data, unsigned(m_size), m_dataType);
        Free(m_data, m_dataType);
        m_data = grown;
        m_alloc = int(n);
    }
    m_size = int(n);
    return true;
}

int TCBlock::StrLen(bool binary) const
{
    if (m_dataType != H::DT_STRING)
        return 0;
    const TCString* texts = static_cast<const TCString*>(m_data);
    long long sum = 0;
    for (int i = 0; i < m_size; ++i)
        sum += binary ? texts[i].GetLength() : texts[i].SafeStrlen();
    return int(std::min<long long>(sum, INT_MAX));
}

TCBLOCKSTATUS TCBlock::GetTI(TCTypeInfo& out) const
{
    out = m_ti;
    return m_ti.State;
}

void TCBlock::SetTI(const TCTypeInfo* ti)
{
    if (ti && m_dataType != 0)
        m_ti = *ti;
}
