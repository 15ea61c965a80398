// The stream as carrier of blocks: connection, reserve and dispatch, the queues of the
// inputs, the status check, moving and exchanging blocks, tear-down.
#include "corekit80/streams/TCIOStream.h"

#include <new>

#include "corekit80/foundation/TCSystemTime.h"
#include "corekit80/streams/TCBlockStatus.h"

TCIOStream::TCIOStream() = default;

TCIOStream::~TCIOStream() { DeleteStreams(); }

TCIOStream* TCIOStream::SetInputStream(int precision)
{
    m_bInput = true;
    m_nPrecision = precision;
    return this;
}

int TCIOStream::AddOutputStream(TCIOStream* input)
{
    if (input && input->m_bInput) {
        input->m_fan.m_pOwner = this;
        m_fansOut.Add(input);
    }
    return m_fansOut.GetSize();
}

int TCIOStream::GetFanCnt() const { return m_bInput ? 1 : m_fansOut.GetSize(); }

TCIOStream* TCIOStream::GetFan(int i)
{
    if (m_bInput && i == 0)
        return this;
    return i >= 0 && i < m_fansOut.GetSize() ? m_fansOut.GetData()[i] : nullptr;
}

int TCIOStream::GetErrFan() const
{
    int fan = m_nErrFan;
    m_nErrFan = -1;
    return fan;
}

void TCIOStream::DeleteStreams()
{
    m_fansOut.RemoveAll();
    m_fan.m_queue.RemoveAll();
    m_fan.m_pOwner = nullptr;
    m_bInput = false;
    m_blocks.RemoveAll();
    m_freeList.RemoveAll();
    SetReadBlock(nullptr);
}

int TCIOStream::ReserveBlock(bool clearTI) { return Reserve(clearTI); }
bool TCIOStream::DispatchBlock() { return Dispatch(); }
void TCIOStream::AddBlockToFreeList(Block* b) { FreeBlock(b); }
int TCIOStream::RemoveBlock(bool release) { return TakeHead(release); }

void TCIOStream::BlockQueue::Grow(unsigned need)
{
    unsigned cap = 8;
    while (cap < need) {
        if (cap > (1u << 30))
            throw std::bad_alloc();
        cap *= 2;
    }
    std::unique_ptr<Block*[]> slots(new Block*[cap]);
    for (unsigned i = 0; i < m_nCount; ++i)
        slots[i] = m_pSlots[(m_nHead + i) & m_nMask];
    m_pSlots = std::move(slots);
    m_nCapacity = cap;
    m_nMask = cap - 1;
    m_nHead = 0;
}

void TCIOStream::FreeBlockGrow(Block* b)
{
    try {
        m_freeList.AddTail(b);
    } catch (const std::bad_alloc&) {
        // The block stays owned; it only drops out of reuse until DeleteStreams.
    }
}

TCIOStream::Block* TCIOStream::NewBlock()
{
    try {
        std::unique_ptr<Block> b(new Block(this));
        // Room for every owned block, so that giving a block back never allocates.
        const int n = m_blocks.GetSize();
        m_freeList.Reserve(n + 1);
        m_blocks.SetSize(n + 1);
        m_blocks[n] = std::move(b);
        return m_blocks[n].get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int TCIOStream::PeekBlock(int i)
{
    if (!m_bInput)
        return 0;
    SetReadBlock(QueuedBlock(i));
    return m_pAct ? 1 : 0;
}

TCIOStream::Block* TCIOStream::GetActBlock(bool detach)
{
    Block* b = m_pAct;
    if (detach)
        SetReadBlock(nullptr);
    return b;
}

void TCIOStream::ChangeFlags(TCTypeInfo* ti, int start, int stop)
{
    TCBlockStatus::ChangeFlags(ti, start, stop);
}

int TCIOStream::CheckBlockState(TCTypeInfo* ti, bool fix)
{
    if (!ti)
        return 0;
    if (fix) {
        if (ti->State < TCBS_START || ti->State > TCBS_COMPLETE)
            ChangeFlags(ti, 0, 0);
        if (!(ti->Timestamp > 0))
            ti->Timestamp = TCSystemTime();
        if (!(ti->Samplerate > 0))
            ti->Samplerate = 1.0;
    }
    for (int f = 0, n = m_fansOut.GetSize(); f < n; ++f) {
        const Fan* fan = m_fansOut.GetData()[f]->GetFanIn();
        if (!fan)
            continue; // torn down
        const BlockQueue& queue = fan->m_queue;
        TCTypeInfo* last = nullptr;
        for (POSITION pos = queue.GetTailPosition(); pos && !last;)
            last = queue.GetPrev(pos)->GetTI();
        if (last && TCBlockStatus::HasStop(last->State)) {
            // The earlier sequence is closed; with fix the new block joins it as its end.
            if (!fix) {
                SetErrFan(f);
                return -4;
            }
            last->State = last->State == TCBS_COMPLETE ? TCBS_START : TCBS_BUSY;
            ti->State = TCBS_STOP;
            continue;
        }
        if (!TCBlockStatus::HasStart(ti->State))
            continue;
        TCTypeInfo* first = nullptr;
        for (POSITION pos = queue.GetHeadPosition(); pos && !first;)
            first = queue.GetNext(pos)->GetTI();
        if (first && (first->State == TCBS_START || first->State == TCBS_BUSY)) {
            // A sequence is still open: a new start would cut it.
            if (!fix) {
                SetErrFan(f);
                return -4;
            }
            ti->State = ti->State == TCBS_COMPLETE ? TCBS_STOP : TCBS_BUSY;
            first->State = TCBS_START;
        }
    }
    return 0;
}

int TCIOStream::SetTI(const TCTypeInfo* ti, bool fix)
{
    int r = Reserve(false);
    if (r < 1)
        return r;
    try {
        m_pAct->SetTI(ti);
    } catch (const std::bad_alloc&) {
        return -14;
    }
    if (ti) {
        r = CheckBlockState(m_pAct->GetTI(), fix);
        if (r < 0)
            return r;
    }
    return 0;
}

const TCTypeInfo* TCIOStream::PeekTI() const
{
    Block* b = QueuedBlock(0);
    return b ? b->GetTI() : nullptr;
}

TCBLOCKSTATUS TCIOStream::PeekStatus(bool all) const
{
    if (!m_bInput || m_fan.m_queue.IsEmpty())
        return TCBS_INVALID;
    const BlockQueue& queue = m_fan.m_queue;
    if (!all) {
        const TCTypeInfo* ti = queue.GetHead()->GetTI();
        return ti ? ti->State : TCBS_INVALID;
    }
    TCBLOCKSTATUS sum = TCBS_INVALID;
    for (POSITION pos = queue.GetHeadPosition(); pos;) {
        const Block* b = queue.GetNext(pos);
        if (!b)
            break;
        if (const TCTypeInfo* ti = b->GetTI())
            sum = TCBlockStatus::Combine(sum, ti->State);
    }
    return sum;
}

int TCIOStream::GetBlockCnt(int* fanIdx) const
{
    if (fanIdx)
        *fanIdx = 0;
    if (m_bInput)
        return m_fan.m_queue.GetCount();
    int longest = 0;
    for (int f = 0, n = m_fansOut.GetSize(); f < n; ++f) {
        const Fan* fan = m_fansOut.GetData()[f]->GetFanIn();
        int len = fan ? fan->m_queue.GetCount() : 0;
        if (len > longest) {
            longest = len;
            if (fanIdx)
                *fanIdx = f;
        }
    }
    return longest;
}

int TCIOStream::AvailableBlocks() const { return GetBlockCnt(nullptr); }

int TCIOStream::CopyBlockRefs(const TCIOStream& src)
{
    if (!m_bInput)
        return 0;
    if (src.m_bInput && &src != this) {
        try {
            for (POSITION pos = src.m_fan.m_queue.GetHeadPosition(); pos;) {
                Block* b = src.m_fan.m_queue.GetNext(pos);
                m_fan.m_queue.AddTail(b);
                ++b->m_nRefCount;
            }
        } catch (const std::bad_alloc&) {
            return -14;
        }
    }
    return m_fan.m_queue.GetCount();
}

int TCIOStream::WriteCopy(const Block* b)
{
    if (!b)
        return 0;
    int r = Reserve(true);
    if (r < 1)
        return r;
    if (!m_pAct->CopyFrom(*b))
        return -14;
    r = CheckBlockState(m_pAct->GetTI(), false);
    if (r < 0)
        return r;
    return Dispatch() ? 1 : -14;
}

int TCIOStream::MoveBlocks(TCIOStream& src, TCBLOCKSTATUS status)
{
    if (!src.m_bInput || src.m_fan.m_queue.IsEmpty())
        return 0;
    // The queue's reference is kept until the copy is made, so that a reserve on the same
    // stream (loopback) cannot hand the source block out as the new block.
    Block* b = src.m_fan.m_queue.RemoveHead();
    TCIOStream* owner = src.m_fan.m_pOwner;
    src.SetReadBlock(b);
    int r = Reserve(true);
    if (r >= 1) {
        if (!m_pAct->CopyFrom(*b)) {
            r = -14;
        } else {
            if (TCTypeInfo* ti = m_pAct->GetTI())
                ti->State = status;
            r = CheckBlockState(m_pAct->GetTI(), false);
            if (r >= 0)
                r = Dispatch() ? 1 : -14;
        }
    }
    Release(b, owner);
    return r;
}

int TCIOStream::MoveBlock(TCIOStream& src, int index, const TCTypeInfo* ti, bool fix)
{
    if (index < 0 || index >= src.AvailableBlocks())
        return 0;
    int r = Reserve(true);
    if (r < 1)
        return r;
    Block* target = m_pAct;
    src.PeekBlock(index);
    Block* from = src.m_pAct;
    if (&src == this) { // loopback: the peek must not cost the reserved block
        m_pAct = target;
        m_bWriting = true;
    }
    if (!from)
        return 0;
    if (!target->CopyFrom(*from))
        return -14;
    try {
        if (ti)
            target->SetTI(ti);
    } catch (const std::bad_alloc&) {
        return -14;
    }
    r = CheckBlockState(target->GetTI(), fix);
    if (r < 0)
        return r;
    return Dispatch() ? 1 : -14;
}

int TCIOStream::ExchangeBinary(Block** holder, bool next)
{
    if (!holder)
        return 0;
    Block* taken = nullptr;
    if (next) {
        if (!m_bInput || m_fan.m_queue.IsEmpty())
            return 0;
        taken = m_fan.m_queue.RemoveHead(); // the holder inherits the queue's reference
        if (!m_bWriting)
            SetReadBlock(nullptr);
    }
    if (*holder)
        Release(*holder, m_bInput ? m_fan.m_pOwner : nullptr);
    *holder = taken;
    return taken ? 1 : 0;
}

int TCIOStream::RemoveContentsSlow(bool all)
{
    if (!all)
        return TakeHead(true);
    int n = 0;
    while (TakeHead(true) == 1)
        ++n;
    return n;
}
