// TCBlockBuffer: the blocks in reading order, the kept ones for reuse, and their counts.
#include <climits>
#include <new>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelper.h"

namespace {

// What the buffer keeps of removed blocks for reuse beyond the blocks it holds.
constexpr int kFreePerBlock = 2;
constexpr int kFreeExtra = 20;
constexpr int kFreeAfterRemoveAll = 10;

int Clamped(long long n) { return n > INT_MAX ? INT_MAX : int(n); }

}  // namespace

TCBlockBuffer::TCBlock* TCBlockBuffer::FindFreeBlock(unsigned long type, unsigned n)
{
    for (int i = 0; i < m_free.GetSize(); ++i)
        if (m_free[i]->IsFree(type, n)) {
            TCBlock* b = m_free[i];
            m_free.RemoveAt(i);
            return b;
        }
    return nullptr;
}

TCBlockBuffer::TCBlock* TCBlockBuffer::NewBlock(unsigned long type, unsigned n)
{
    TCBlock* b = FindFreeBlock(type, n);
    if (!b)
        b = new (std::nothrow) TCBlock(type);
    if (!b || !b->SetSize(n)) {
        delete b;  // only a new block can fail: a kept one has the room
        return nullptr;
    }
    m_blocks.Add(b);
    return b;
}

int TCBlockBuffer::Add(TCBlock* b) { return m_blocks.Add(b); }

void TCBlockBuffer::RemoveAt(unsigned i, bool destroy)
{
    if (i >= unsigned(m_blocks.GetSize()) || !m_blocks[int(i)])
        return;
    TCBlock* b = m_blocks[int(i)];
    m_blocks.RemoveAt(int(i));
    if (!destroy && m_free.GetSize() <= kFreePerBlock * m_blocks.GetSize() + kFreeExtra) {
        b->m_size = 0;
        m_free.Add(b);
    } else {
        delete b;
    }
}

void TCBlockBuffer::RemoveAll(bool destroy)
{
    for (TCBlock* b : m_blocks) {
        if (!destroy && b) {
            b->m_size = 0;
            m_free.Add(b);
        } else {
            delete b;
        }
    }
    m_blocks.SetSize(0);
    const int keep = destroy ? 0 : kFreeAfterRemoveAll;
    for (int i = keep; i < m_free.GetSize(); ++i)
        delete m_free[i];
    if (m_free.GetSize() > keep)
        m_free.SetSize(keep);
}

int TCBlockBuffer::CountElems() const
{
    long long n = 0;
    for (const TCBlock* b : m_blocks)
        n += b ? b->GetSize() : 0;
    return Clamped(n);
}

int TCBlockBuffer::ElemSize(int i) const
{
    const TCBlock* b = (*this)[unsigned(i)];
    return b ? TCBlock::ElemSize(b->DataType()) : 0;
}

int TCBlockBuffer::StrLen() const
{
    long long n = 0;
    for (const TCBlock* b : m_blocks)
        n += b ? b->StrLen(m_binStr) : 0;
    return Clamped(n);
}

int TCBlockBuffer::GetDataSize() const
{
    long long n = 0;
    for (const TCBlock* b : m_blocks) {
        if (!b)
            continue;
        if (b->DataType() & TCPortHelper::DT_STRING_FAMILY)
            n += b->StrLen(m_binStr);
        else
            n += (long long)TCBlock::ElemSize(b->DataType()) * b->GetSize();
    }
    return Clamped(n);
}
