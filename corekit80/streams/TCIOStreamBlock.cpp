// Blocks and their data segments: setting, appending, copying and reuse.
#include <cstdlib>
#include <cstring>
#include <new>

#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCIOStreamSerializeImpl.h"

namespace {

using DataSegment = TCIOStream::DataSegment;
using Block = TCIOStream::Block;

constexpr size_t kBufferAlign = 64;

Block** NewBlocks(int n)
{
    Block** blocks = static_cast<Block**>(std::calloc(static_cast<size_t>(n), sizeof(Block*)));
    if (!blocks)
        throw std::bad_alloc();
    return blocks;
}

void DeleteBlocks(Block** blocks, int n)
{
    for (int i = 0; i < n; ++i)
        delete blocks[i];
    std::free(blocks);
}

// Fills each target position from the source blocks, creating the missing targets.
void CopyBlocks(Block** to, const Block* const* from, int n)
{
    for (int i = 0; i < n; ++i) {
        if (!to[i])
            to[i] = new Block;
        if (from && from[i]) {
            if (!to[i]->CopyFrom(*from[i]))
                throw std::bad_alloc();
        } else {
            to[i]->Reset(true);
        }
    }
}

} // namespace

long long TCIOStream::DataSegment::ShapeCount(int dimCount, const int* dims)
{
    if (dimCount < 1)
        return 1; // a shape without dimensions still holds one element
    if (!dims)
        return -1;
    long long n = 1;
    for (int i = 0; i < dimCount; ++i) {
        if (dims[i] < 0)
            return -1;
        n *= dims[i];
        if (n > INT32_MAX)
            return -1;
    }
    return n;
}


TCIOStream::DataSegment::DataSegment(const char* name) : m_name(name) {}

TCIOStream::DataSegment::~DataSegment() { Clear(); }

void* TCIOStream::DataSegment::Buffer(size_t bytes)
{
    if (bytes > m_nBufferBytes) {
        // Cache-line aligned: wide copies into a misaligned buffer run at half speed.
        size_t size = (bytes + kBufferAlign - 1) / kBufferAlign * kBufferAlign;
        void* p = std::aligned_alloc(kBufferAlign, size);
        if (!p)
            throw std::bad_alloc();
        if (m_pBuffer)
            std::memcpy(p, m_pBuffer.get(), m_nBufferBytes); // appends keep the old elements
        m_pBuffer.reset(p);
        m_nBufferBytes = size;
    }
    return m_pBuffer.get();
}

void TCIOStream::DataSegment::Clear()
{
    if (m_bOwned && m_pData) {
        switch (m_type) {
        case STRING: delete[] static_cast<TCString*>(m_pData); break;
        case BLOCK: DeleteBlocks(static_cast<Block**>(m_pData), m_nElements); break;
        default: break; // numbers stay in the kept buffer; POINTER only passes its address on
        }
    }
    m_type = UNDEF;
    m_nDims = 0;
    m_dims.SetSize(-1);
    m_pData = nullptr;
    m_nElements = 0;
    m_bValid = false;
    m_bOwned = false;
}

void TCIOStream::DataSegment::Reset()
{
    m_bValid = false;
    if (m_type == BLOCK && m_bOwned && m_pData) {
        Block** blocks = static_cast<Block**>(m_pData);
        for (int i = 0; i < m_nElements; ++i)
            blocks[i]->Reset(true); // an owned segment has every nested block
    }
}

bool TCIOStreamSerialize::ShapeTaken(TCIOStream::DATATYPE type, int dimCount, const int* dims, bool copy)
{
    using S = TCIOStream;
    const long long count = S::DataSegment::ShapeCount(dimCount, dims);
    // A type outside the known ones would be freed as nothing and leak: refuse it.
    return count >= 0 && type >= S::UNDEF && type <= S::BLOCK &&
           !(copy && (type == S::UNDEF || (count == 0 && type != S::POINTER)));
}

bool TCIOStream::DataSegment::SetDataSlow(DATATYPE type, int dimCount, const int* dims,
                                          const void* data, bool copy)
{
    long long count = ShapeCount(dimCount, dims);
    bool bad = !TCIOStreamSerialize::ShapeTaken(type, dimCount, dims, copy);
    if (bad || type != m_type || count != m_nElements || copy != m_bOwned)
        Clear();
    if (bad)
        return false;
    try {
        m_dims.SetSize(dimCount > 0 ? dimCount : -1);
        for (int i = 0; i < dimCount; ++i)
            m_dims.GetData()[i] = dims[i];
        m_type = type;
        m_nDims = dimCount > 0 ? dimCount : 0;
        m_nElements = static_cast<int>(count);
        m_bOwned = copy;
        if (!copy || type == POINTER) {
            m_pData = const_cast<void*>(data);
        } else if (type == INT || type == DOUBLE) {
            size_t bytes = static_cast<size_t>(count) * ElementSize(type);
            if (!m_pData)
                m_pData = Buffer(bytes);
            if (data)
                std::memcpy(m_pData, data, bytes);
        } else if (type == STRING) {
            if (!m_pData)
                m_pData = new TCString[count];
            if (data) {
                TCString* to = static_cast<TCString*>(m_pData);
                const TCString* from = static_cast<const TCString*>(data);
                for (long long i = 0; i < count; ++i)
                    to[i] = from[i];
            }
        } else { // BLOCK
            if (!m_pData)
                m_pData = NewBlocks(static_cast<int>(count));
            CopyBlocks(static_cast<Block**>(m_pData), static_cast<const Block* const*>(data),
                       static_cast<int>(count));
        }
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    m_bValid = true;
    return true;
}

bool TCIOStream::DataSegment::AppendData(DATATYPE type, int dimCount, const int* dims,
                                         const void* data)
{
    if (type != m_type || type == POINTER || type == UNDEF || dimCount != 1 || m_nDims != 1 ||
        !m_bOwned || !dims || dims[0] < 0)
        return false;
    long long total = static_cast<long long>(m_nElements) + dims[0];
    if (total > INT32_MAX)
        return false;
    int old = m_nElements, added = dims[0];
    void* fresh = nullptr;
    try {
        if (type == INT || type == DOUBLE) {
            size_t size = ElementSize(type);
            fresh = Buffer(static_cast<size_t>(total) * size); // keeps the old elements
            if (data)
                std::memcpy(static_cast<char*>(fresh) + old * size, data, added * size);
            else
                std::memset(static_cast<char*>(fresh) + old * size, 0, added * size);
        } else if (type == STRING) {
            TCString* to = new TCString[total];
            fresh = to;
            const TCString* from = static_cast<const TCString*>(data);
            for (int i = 0; i < added && from; ++i)
                to[old + i] = from[i];
            TCString* prev = static_cast<TCString*>(m_pData);
            for (int i = 0; i < old; ++i)
                to[i] = std::move(prev[i]);
            delete[] prev;
        } else { // BLOCK: the old nested blocks move, the new ones are copies
            Block** to = NewBlocks(static_cast<int>(total));
            fresh = to;
            CopyBlocks(to + old, static_cast<const Block* const*>(data), added);
            std::memcpy(to, m_pData, static_cast<size_t>(old) * sizeof(Block*));
            std::free(m_pData);
        }
    } catch (const std::bad_alloc&) {
        if (type == STRING)
            delete[] static_cast<TCString*>(fresh);
        else if (type == BLOCK && fresh) {
            Block** blocks = static_cast<Block**>(fresh);
            for (int i = old; i < old + added; ++i)
                delete blocks[i];
            std::free(blocks);
        }
        return false;
    }
    m_pData = fresh;
    m_nElements = static_cast<int>(total);
    m_dims.GetData()[0] = m_nElements;
    return true;
}

TCIOStream::Block::~Block() = default;

void TCIOStream::Block::SetTI(const TCTypeInfo* ti)
{
    if (!ti) {
        m_bHasTI = false;
        return;
    }
    if (!m_pTI)
        m_pTI = std::make_unique<TCTypeInfo>(*ti);
    else if (m_pTI.get() != ti)
        *m_pTI = *ti;
    m_bHasTI = true;
}

bool TCIOStream::Block::CopyFrom(const Block& src)
{
    if (&src == this)
        return true;
    try {
        Reset(true);
        SetTI(src.GetTI());
        for (const std::unique_ptr<DataSegment>& from : src.m_segments) {
            if (!from->m_bValid)
                continue;
            DataSegment* to = SegmentForWrite(from->m_name, false);
            if (!to || !to->SetData(from->m_type, from->m_nDims, from->m_dims.GetData(),
                                    from->m_pData, from->m_bOwned))
                return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

int TCIOStream::Block::ValidCount() const
{
    int n = 0;
    for (const std::unique_ptr<DataSegment>& seg : m_segments)
        n += seg->m_bValid;
    return n;
}

TCIOStream::DataSegment* TCIOStream::Block::AddSegment(const char* name)
{
    std::unique_ptr<DataSegment> seg = std::make_unique<DataSegment>(name);
    const int n = m_segments.GetSize();
    m_segments.SetSize(n + 1);
    m_segments[n] = std::move(seg);
    m_nCursor = n;
    return m_segments[n].get();
}
