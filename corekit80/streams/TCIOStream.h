#pragma once

// TCIOStream, the end of a line of the signal graph, with its blocks, segments and queues.

#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "corekit80/foundation/TCNumberFormat.h"
#include "corekit80/streams/TCTypeInfo.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCPosition.h"
#include "corekit80/types/TCString.h"

class TCXML;

// The end of a line of the signal graph at one port. An output stream produces blocks and
// hands each completed block to every connected input stream (its fans); an input stream
// queues the blocks it receives. Blocks are shared, never copied on the way: every queue
// entry holds one reference, and a block whose last reference is released goes back to
// the free list of its producer, which reuses it with its segment buffers. A stream owns
// every block it created until DeleteStreams.
//
// Lifetimes of what the stream hands out. A block lives until its producer's DeleteStreams
// (or destructor); its content stays until the producer reserves it again, which happens
// once the block is back on the producer's free list and the producer writes. So:
// - pointers into a block that is still queued at an input (peeks, PeekTI) stay valid
//   while it is queued there;
// - pointers into a block a reader has taken (the act block, the matrix, bus and segment
//   reads) stay valid until the producer's next write, because taking the block gave up
//   the reader's reference;
// - a block held through ExchangeBinary keeps its content until it is released;
// - data written by reference (matrix writes, WritePtr, bus writes without copy) stays
//   the writer's memory: readers get the writer's pointer, good as long as the writer
//   keeps that memory alive and unchanged.
// Streams and blocks survive bytewise moves (TCArray moves its elements so) as long as no
// other stream, queue or holder points at them yet: move streams before connecting them.
//
// Results: 1 done, 0 nothing to do, -1 failed peek, -2 segment of another type, -4 status
// conflict (GetErrFan tells the fan), -14 allocation failed or a count was negative.
// Streams take no locks: all streams of a graph are used by one thread at a time.
class TC_EXPORT TCIOStream {
public:
    enum DATATYPE : int32_t { UNDEF = 0, INT = 1, DOUBLE = 2, STRING = 3, POINTER = 4, BLOCK = 5 };

    class Block;

    // A named array of one element type with a shape of one or more extents. The data is
    // either a copy the segment owns or a reference to the writer's memory; for POINTER it
    // is the address itself, for BLOCK an array of nested Block pointers. Owned data (the
    // numbers, strings, nested blocks) lives until the segment is set with another type,
    // count or owned flag, cleared, or destroyed. A segment keeps its name, buffer and
    // shape when its block is reused; only valid becomes false.
    class TC_EXPORT DataSegment {
    public:
        explicit DataSegment(const char* name);
        DataSegment(const DataSegment&) = delete;
        DataSegment& operator=(const DataSegment&) = delete;
        ~DataSegment();

        // Product of the extents; 0 without dimensions.
        int ElementCount() const { return m_nDims > 0 ? m_nElements : 0; }
        // The shape as a matrix: a vector is one row; other shapes give 0 x 0. Null targets
        // are skipped.
        void Shape(int* rows, int* cols) const
        {
            if (rows)
                *rows = m_nDims == 1 ? 1 : m_nDims == 2 ? m_dims.GetData()[0] : 0;
            if (cols)
                *cols = m_nDims == 1 ? m_dims.GetData()[0] : m_nDims == 2 ? m_dims.GetData()[1] : 0;
        }
        // Product of the extents, -1 when one is negative or the product leaves int. A
        // shape without dimensions holds one element.
        static long long ShapeCount(int dimCount, const int* dims);
        static int ElementSize(DATATYPE type)
        {
            static constexpr int sizes[] = {0, 4, 8, sizeof(TCString), sizeof(void*), sizeof(void*)};
            return type >= UNDEF && type <= BLOCK ? sizes[type] : 0;
        }

        // Sets type, shape and data; reuses the buffer when type, element count and owned
        // flag stay. false when the shape is bad, a copy has no elements or UNDEF type, the type is unknown, or
        // allocation fails (the segment is then cleared).
        bool SetData(DATATYPE type, int dimCount, const int* dims, const void* data, bool copy)
        {
            if (type == m_type && copy && m_bOwned && dimCount == 1 && m_nDims == 1 && dims &&
                dims[0] == m_nElements && m_nElements > 0 && (type == INT || type == DOUBLE)) {
                // The same shape again: the common case of a steady stream.
                if (data)
                    std::memcpy(m_pData, data, static_cast<size_t>(m_nElements) * ElementSize(type));
                m_bValid = true;
                return true;
            }
            return SetDataSlow(type, dimCount, dims, data, copy);
        }
        bool SetDataSlow(DATATYPE type, int dimCount, const int* dims,
                                            const void* data, bool copy);
        // Appends to an owned one-dimensional segment of the same type (not POINTER).
        bool AppendData(DATATYPE type, int dimCount, const int* dims, const void* data);
        // Frees owned data and forgets type and shape; the name stays.
        void Clear();
        // Not valid any more; nested blocks are reset too. Buffers stay.
        void Reset();
        // The number buffer with room for bytes, owned by the segment: valid until a larger
        // Buffer call or the segment's destruction. Throws std::bad_alloc.
        void* Buffer(size_t bytes);

        TCString m_name;
        DATATYPE m_type = UNDEF;
        int m_nDims = 0;
        TCArray<int, int> m_dims;
        void* m_pData = nullptr;
        bool m_bValid = false;
        bool m_bOwned = false;
        int m_nElements = 0; // elements in the buffer (1 for a shape without dimensions)
        // Integer and double data live in a buffer that outlasts changes of type and
        // shape, so that blocks of varying content are filled without allocating.
        struct FreeBuffer {
            void operator()(void* p) const { std::free(p); }
        };
        std::unique_ptr<void, FreeBuffer> m_pBuffer;
        size_t m_nBufferBytes = 0;
    };

    // A unit of transport: optional type info and named data segments. A block that a
    // stream produced knows its producer; nested blocks and blocks a caller creates have
    // none. The block owns its type info record and its segments; a segment, once added,
    // lives as long as the block, so the segment pointers below stay valid for the
    // block's whole life (their content changes when the block is reused).
    class TC_EXPORT Block {
    public:
        Block() = default;
        explicit Block(TCIOStream* producer) : m_pProducer(producer) {}
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;
        ~Block();

        // The type info while it counts, else null. Owned by the block: the record lives
        // as long as the block; SetTI and reuse overwrite it.
        TCTypeInfo* GetTI() const { return m_bHasTI ? m_pTI.get() : nullptr; }
        // Copies ti into the block's record (created on first use); null clears the flag.
        void SetTI(const TCTypeInfo* ti);

        // Reset for reuse: every segment not valid; clearTI drops the type info flag.
        void Reset(bool clearTI)
        {
            for (const std::unique_ptr<DataSegment>& seg : m_segments) {
                seg->m_bValid = false;
                if (seg->m_type == BLOCK)
                    seg->Reset(); // nested blocks too
            }
            if (clearTI)
                m_bHasTI = false;
        }
        // Makes this block a copy of src (type info and valid segments; references stay
        // references). The block is reset first. false on failure.
        bool CopyFrom(const Block& src);

        int ValidCount() const;
        // The index-th valid segment (owned by this block), or null.
        DataSegment* ValidSegment(int index) const
        {
            for (const std::unique_ptr<DataSegment>& seg : m_segments)
                if (seg->m_bValid && index-- == 0)
                    return seg.get();
            return nullptr;
        }
        // Search by name from the segment after the cursor, once round. The segment is
        // owned by this block; null when there is none.
        DataSegment* FindSegment(const char* name, bool validOnly)
        {
            const int n = m_segments.GetSize();
            if (!name)
                name = "";
            const std::unique_ptr<DataSegment>* segs = m_segments.GetData();
            for (int k = 1, i = m_nCursor; k <= n; ++k) {
                if (++i >= n)
                    i = 0;
                DataSegment* seg = segs[i].get();
                const char* own = seg->m_name;
                if ((validOnly && !seg->m_bValid) || own[0] != name[0] ||
                    (name[0] != 0 && std::strcmp(own + 1, name + 1) != 0))
                    continue;
                m_nCursor = i;
                return seg;
            }
            return nullptr;
        }
        // The segment to write name into (owned by this block): created when missing; a
        // valid one only with append. Null when the name is written already. Throws
        // std::bad_alloc.
        DataSegment* SegmentForWrite(const char* name, bool append)
        {
            if (DataSegment* seg = FindSegment(name, false))
                return append || !seg->m_bValid ? seg : nullptr;
            return AddSegment(name);
        }
        // The unnamed segment for a simple write, as SegmentForWrite. Simple writes keep it
        // first in the block, so the common case needs no search.
        DataSegment* UnnamedForWrite()
        {
            if (m_segments.GetSize() > 0) {
                DataSegment* seg = m_segments.GetData()[0].get();
                if (seg->m_name.IsEmpty() && !seg->m_bValid) {
                    m_nCursor = 0;
                    return seg;
                }
            }
            return SegmentForWrite("", false);
        }
        // A new segment at the end (owned by this block), made the cursor. Throws
        // std::bad_alloc.
        DataSegment* AddSegment(const char* name);

        std::unique_ptr<TCTypeInfo> m_pTI;
        TCArray<std::unique_ptr<DataSegment>> m_segments;
        int m_nCursor = -1;
        int m_nRefCount = 0;
        bool m_bHasTI = false;
        TCIOStream* m_pProducer = nullptr; // not owned: the producer owns the block
    };

    // First-in-first-out ring of block pointers: the queue of an input and the free list of
    // an output. It grows by doubling and never shrinks, so a steady flow allocates
    // nothing. Walked like the framework list: a POSITION names a slot and stays good
    // until that entry is removed or the ring grows. The queue owns its slots, not the
    // blocks: the block pointers it returns belong to the blocks' producers.
    class TC_EXPORT BlockQueue {
    public:
        BlockQueue() = default;
        BlockQueue(const BlockQueue&) = delete;
        BlockQueue& operator=(const BlockQueue&) = delete;

        int GetCount() const { return static_cast<int>(m_nCount); }
        bool IsEmpty() const { return m_nCount == 0; }
        // The queue must not be empty: callers check IsEmpty first.
        Block* GetHead() const
        {
            assert(m_nCount > 0);
            return m_pSlots[m_nHead];
        }
        Block* GetTail() const
        {
            assert(m_nCount > 0);
            return m_pSlots[(m_nHead + m_nCount - 1) & m_nMask];
        }
        Block* RemoveHead()
        {
            assert(m_nCount > 0);
            Block* b = m_pSlots[m_nHead];
            m_nHead = (m_nHead + 1) & m_nMask;
            --m_nCount;
            return b;
        }
        // Throws std::bad_alloc when the ring is full and cannot grow.
        void AddTail(Block* b)
        {
            if (!TryAddTail(b)) {
                Grow(m_nCount + 1);
                TryAddTail(b);
            }
        }
        // false when the ring is full.
        bool TryAddTail(Block* b)
        {
            if (m_nCount == m_nCapacity)
                return false;
            m_pSlots[(m_nHead + m_nCount) & m_nMask] = b;
            ++m_nCount;
            return true;
        }
        // Room for n entries without growing; throws std::bad_alloc.
        void Reserve(int n)
        {
            if (n > 0 && static_cast<unsigned>(n) > m_nCapacity)
                Grow(static_cast<unsigned>(n));
        }
        void RemoveAll() { m_nHead = m_nCount = 0; }

        POSITION GetHeadPosition() const { return m_nCount ? Pos(m_nHead) : nullptr; }
        POSITION GetTailPosition() const { return m_nCount ? Pos((m_nHead + m_nCount - 1) & m_nMask) : nullptr; }
        POSITION FindIndex(int i) const
        {
            return i >= 0 && static_cast<unsigned>(i) < m_nCount ? Pos((m_nHead + i) & m_nMask) : nullptr;
        }
        // pos must name a queued entry (from the calls above, not past the ends).
        Block* GetAt(POSITION pos) const { return m_pSlots[Slot(pos)]; }
        // The entry at pos; pos moves to the next (null after the tail).
        Block* GetNext(POSITION& pos) const
        {
            const unsigned s = Slot(pos);
            unsigned next = (s + 1) & m_nMask;
            pos = next == ((m_nHead + m_nCount) & m_nMask) ? nullptr : Pos(next);
            return m_pSlots[s];
        }
        // The entry at pos; pos moves to the previous (null before the head).
        Block* GetPrev(POSITION& pos) const
        {
            const unsigned s = Slot(pos);
            pos = s == m_nHead ? nullptr : Pos((s - 1) & m_nMask);
            return m_pSlots[s];
        }

    private:
        static POSITION Pos(unsigned slot) { return reinterpret_cast<POSITION>(uintptr_t(slot) + 1); }
        unsigned Slot(POSITION pos) const
        {
            const unsigned s = static_cast<unsigned>(reinterpret_cast<uintptr_t>(pos) - 1);
            assert(pos && ((s - m_nHead) & m_nMask) < m_nCount);
            return s;
        }
        void Grow(unsigned need); // exported: the inline adds may run outside the library

        std::unique_ptr<Block*[]> m_pSlots;
        unsigned m_nCapacity = 0; // a power of two
        unsigned m_nMask = 0;     // capacity - 1
        unsigned m_nHead = 0;
        unsigned m_nCount = 0;
    };

    // The queue of an input stream and the output stream that feeds it.
    struct Fan {
        BlockQueue m_queue;
        TCIOStream* m_pOwner = nullptr;
    };

    TCIOStream();
    TCIOStream(const TCIOStream&) = delete;
    TCIOStream& operator=(const TCIOStream&) = delete;
    // Tears the stream down as DeleteStreams does.
    ~TCIOStream();

    // Connection and tear-down.
    // Returns this stream.
    TCIOStream* SetInputStream(int precision);
    int AddOutputStream(TCIOStream* input);
    int GetFanCnt() const;
    // This stream (an input at 0) or a connected input; not owned. Null out of range.
    TCIOStream* GetFan(int i);
    int GetErrFan() const;
    int precision() const { return m_nPrecision; }
    // Tear-down is an act on the whole graph: it destroys every block this stream
    // produced, even those that other inputs still queue or hold (ExchangeBinary), and
    // forgets its own queue without touching the blocks in it. Afterwards nothing may
    // read from an input this stream fed, nor release a block it produced, until that
    // input is torn down too: tear a graph down in one pass with no read in between.
    // The destructor does the same, so streams of a graph die together.
    void DeleteStreams();

    // Type info and queue inspection.
    int SetTI(const TCTypeInfo* ti, bool fix);
    // The act block's type info, owned by the block's producer; null without one. Valid
    // until the producer's next write (a reserved block: until it is dispatched and then
    // as any queued block).
    const TCTypeInfo* GetTI() const { return m_pAct ? m_pAct->GetTI() : nullptr; }
    // The head block's type info, owned by its producer; valid while that block is queued.
    const TCTypeInfo* PeekTI() const;
    TCBLOCKSTATUS PeekStatus(bool all) const;
    int GetBlockCnt(int* fanIdx) const;
    int CopyBlockRefs(const TCIOStream& src);

    // Moving, copying and exchanging blocks.
    int WriteCopy(const Block* b);
    int MoveBlocks(TCIOStream& src, TCBLOCKSTATUS status);
    int MoveBlock(TCIOStream& src, int index, const TCTypeInfo* ti, bool fix);
    // The zero-copy read: *holder gets the head block with the queue's reference, so its
    // content stays until the holder releases it here (next false, or the next exchange).
    // The block stays owned by its producer: once that is torn down, drop the holder's
    // pointer without releasing it.
    int ExchangeBinary(Block** holder, bool next);
    // Drops the head block (all: every queued block); returns 1, or the count dropped.
    int RemoveContents(bool all) { return !all && TakeSharedHead() ? 1 : RemoveContentsSlow(all); }

    // Simple writes: one unnamed segment, dispatched at once; 0 on success.
    int WriteIntVec(const int* v, int n);
    int WriteDblVec(const double* v, int n);
    int WriteStrVec(const TCString* v, int n);
    int WriteStrVec(const CString* v, int n);
    int WriteIntMat(const int* v, int rows, int cols);
    int WriteDblMat(const double* v, int rows, int cols);
    int WritePtr(const void* p, int size);

    // Segment write sequence.
    int StartWriteSegments() { return ReserveBlock(true); }
    int WriteSegment(const char* name, int v);
    int WriteSegment(const char* name, const double& v);
    int WriteSegment(const char* name, const TCString& v);
    int WriteSegment(const char* name, const CString& v);
    int WriteSegment(const char* name, const TCArray<Block*>& blocks);
    bool EndWriteSegments() { return DispatchBlock(); }

    // Simple reads: each takes the next block off the queue (giving up this input's
    // reference) and makes it the act block.
    int ReadIntVec(int* buf, int* n);
    int ReadDblVec(double* buf, int* n);
    int ReadStrVec(TCString* buf, int* n);
    int ReadStrVec(CString* buf, int* n);
    int ReadStr(TCString& s);
    int ReadStr(CString& s);
    // *data points into the block taken, which has already gone back to its producer when
    // this input held the last reference: the values stay valid only until the producer's
    // next write. Data written by reference (WriteIntMat, WriteDblMat) is the writer's
    // memory and lives as the writer keeps it. Copy what must outlive that.
    int ReadIntMat(int** data, int& rows, int& cols);
    int ReadDblMat(double** data, int& rows, int& cols);
    // *p is the address the writer passed to WritePtr: the writer's memory, as it keeps it.
    int ReadPtr(void** p, int* size);

    // Segment reads on the act block. The act block stays readable until its producer's
    // next write.
    int StartReadSegments() { return RemoveBlock(true); }
    int ReadSegment(const char* name, int& v);
    int ReadSegment(const char* name, double& v);
    int ReadSegment(const char* name, TCString& v);
    int ReadSegment(const char* name, CString& v);
    int ReadSegment(int index, int& v);
    int ReadSegment(int index, double& v);
    int ReadSegment(int index, TCString& v);
    int ReadSegment(int index, CString& v);
    // blocks gets the nested blocks themselves: owned by the act block's segment, valid
    // until the producer's next write. The caller must not delete them.
    int ReadSegment(int index, TCArray<Block*>& blocks);
    // blocks gets copies that the caller owns (and deletes).
    int ReadSegment(const char* name, TCArray<Block*>& blocks);
    int SegmentCnt() const { return m_pAct ? m_pAct->ValidCount() : 0; }
    // The name owned by the act block's segment (valid until the producer's next write),
    // or a shared empty string.
    const TCString& SegmentName(int index) const;
    DATATYPE SegmentType(int index);
    int AvailableSegments(TCArray<TCString>* names) const;

    // Peeks at queued blocks; no change to the queue, counts or act block. data points
    // into the queued block (owned by its producer): valid while the block stays queued
    // here, and once it is taken off, until the producer's next write. Data written by
    // reference is the writer's memory.
    int GetBlockLen(int block, int segment) const;
    int PeekIntData(int block, const int*& data, int* rows, int* cols) const
    {
        return PeekData(block, INT, data, rows, cols);
    }
    int PeekDblData(int block, const double*& data, int* rows, int* cols) const
    {
        return PeekData(block, DOUBLE, data, rows, cols);
    }
    int PeekStrData(int block, const TCString*& data) const
    {
        return PeekData(block, STRING, data, nullptr, nullptr);
    }

    // Bus segments: a BLOCK segment whose nested blocks are channels, each with its own
    // type info and one unnamed segment.
    int WriteBusSegment(const char* name, const int* v, int n, const TCTypeInfo* ti);
    int WriteBusSegment(const char* name, const double* v, int n, const TCTypeInfo* ti);
    int WriteBusSegment(const char* name, const TCString* v, int n, const TCTypeInfo* ti);
    int WriteBusSegment(const char* name, const int* v, int rows, int cols, bool copy,
                        const TCTypeInfo* ti);
    int WriteBusSegment(const char* name, const double* v, int rows, int cols, bool copy,
                        const TCTypeInfo* ti);
    int WriteBusSegment(const char* name, const void* p, int size, const TCTypeInfo* ti);
    // Reads of the act block: the array forms copy; *data and *p point into the first
    // channel (valid until the producer's next write) or, for channels written by
    // reference and pointer channels, at the writer's memory.
    int BusSegmentCnt(int index) const;
    int BusSegmentElementCnt(int index) const;
    int ReadBusSegment(int index, TCArray<int, int>& v, TCTypeInfo* ti);
    int ReadBusSegment(int index, TCArray<double, double>& v, TCTypeInfo* ti);
    int ReadBusSegment(int index, TCArray<TCString>& v, TCTypeInfo* ti);
    int ReadBusSegment(int index, int& rows, int& cols, int** data, TCTypeInfo* ti);
    int ReadBusSegment(int index, int& rows, int& cols, double** data, TCTypeInfo* ti);
    int ReadBusSegment(int index, int& size, void** p, TCTypeInfo* ti);

    // Checks and names.
    bool VerifyType(DATATYPE type, int dimCount);
    TCString ConvertToString(int block = -1, int maxLen = -1, bool withTI = true,
                             StringFormat format = SF_AUTO, int precision = -1);

    // Blocks as XML, binary records and old-stream text.
    bool StreamToXML(TCXML& xml, bool peek, int index);
    int XMLToStream(TCXML& xml);
    int SerializeBlock(char* buffer, bool withTI);
    int DeSerializeBlock(const TCString& text);
    TCString SerializeForOldStream();
    int DeSerializeForOldStream(const char* text, int length);

    // Block handling used by the library.
    int ReserveBlock(bool clearTI);
    bool DispatchBlock();
    // Puts b at the tail of this stream's free list, ready for reuse.
    void AddBlockToFreeList(Block* b);
    int RemoveBlock(bool release);
    int PeekBlock(int i);
    // The act block, owned by its producer: a reserved block until dispatched, a taken
    // one until the producer's next write, a peeked one while it is queued.
    Block* GetActBlock(bool detach);
    Block* GetActBlock() const { return m_pAct; }
    // The input fan, a member of this stream (null when it is no input).
    Fan* GetFanIn() const { return m_bInput ? const_cast<Fan*>(&m_fan) : nullptr; }
    int CheckBlockState(TCTypeInfo* ti, bool fix);
    static void ChangeFlags(TCTypeInfo* ti, int start, int stop);

    // A static name, "UNKNOWN" outside the types.
    static const char* DataTypeToString(DATATYPE t);
    static DATATYPE StringToDataType(const char* s);
    static void CStringToTCString(TCArray<TCString>& out, const CString* in, int n);

    // Test hooks: blocks this stream owns (valid until DeleteStreams) and its free list.
    int OwnedBlockCnt() const { return m_blocks.GetSize(); }
    Block* OwnedBlock(int i) const { return m_blocks[i].get(); }
    const BlockQueue& FreeList() const { return m_freeList; }

private:
    void SetErrFan(int fan) { m_nErrFan = fan; }
    // The act block when it was reserved for writing (owned by this stream), else null.
    Block* WriteBlock() const { return m_bWriting ? m_pAct : nullptr; }
    void SetReadBlock(Block* b)
    {
        m_pAct = b;
        m_bWriting = false;
    }
    // Drops one reference; at 0 the block goes to the free list of owner, or of its
    // producer when owner is null.
    static void Release(Block* b, TCIOStream* owner)
    {
        if (--b->m_nRefCount > 0)
            return;
        if (!owner)
            owner = b->m_pProducer;
        if (owner)
            owner->FreeBlock(b);
    }
    // The i-th queued block (owned by its producer; good while queued), or null.
    Block* QueuedBlock(int i) const
    {
        if (!m_bInput)
            return nullptr;
        const BlockQueue& queue = m_fan.m_queue;
        POSITION pos = queue.FindIndex(i);
        return pos ? queue.GetAt(pos) : nullptr;
    }
    // The work of ReserveBlock, DispatchBlock, RemoveBlock and AddBlockToFreeList. Reserve
    // and Dispatch are inline: they are the fixed cost of every simple write.
    int Reserve(bool clearTI)
    {
        if (WriteBlock())
            return 1;
        if (m_fansOut.IsEmpty())
            return 0; // nobody would receive the block
        Block* b = m_freeList.IsEmpty() ? NewBlock() : m_freeList.RemoveHead();
        if (!b)
            return -14;
        b->Reset(clearTI);
        m_pAct = b;
        m_bWriting = true;
        return 1;
    }
    // A new block owned by this stream; null when allocation fails.
    Block* NewBlock();
    bool Dispatch()
    {
        Block* b = WriteBlock();
        return b && Send(b);
    }
    // Dispatch of the act block b: queued at every connected input.
    bool Send(Block* b)
    {
        SetReadBlock(nullptr);
        TCIOStream* const* fans = m_fansOut.GetData();
        int queued = 0;
        try {
            for (int f = 0, n = m_fansOut.GetSize(); f < n; ++f) {
                TCIOStream* in = fans[f];
                if (in->m_bInput) { // not when the input was torn down first
                    in->m_fan.m_queue.AddTail(b);
                    ++queued;
                }
            }
        } catch (const std::bad_alloc&) {
            if ((b->m_nRefCount += queued) == 0)
                FreeBlock(b);
            return false;
        }
        b->m_nRefCount += queued;
        return true;
    }
    // RemoveContents(false) while other inputs still hold the head block, as every reader of
    // a fan-out but the last finds it. Inline, so that a peeking reader makes no call: only
    // the last reference has more to do (the block goes back to its producer).
    bool TakeSharedHead()
    {
        BlockQueue& queue = m_fan.m_queue;
        if (!m_bInput || queue.IsEmpty() || queue.GetHead()->m_nRefCount < 2)
            return false;
        Block* b = queue.RemoveHead();
        --b->m_nRefCount;
        SetReadBlock(b);
        return true;
    }
    int RemoveContentsSlow(bool all);
    int TakeHead(bool release)
    {
        if (!m_bInput)
            return 0;
        BlockQueue& queue = m_fan.m_queue;
        Block* b = queue.IsEmpty() ? nullptr : queue.RemoveHead();
        if (release && b)
            Release(b, m_fan.m_pOwner);
        SetReadBlock(b);
        return b ? 1 : 0;
    }
    // The free list has room for every owned block; only blocks of other producers (see
    // CopyBlockRefs) can make it grow.
    void FreeBlock(Block* b)
    {
        if (!m_freeList.TryAddTail(b))
            FreeBlockGrow(b);
    }
    void FreeBlockGrow(Block* b);
    int AvailableBlocks() const;

    // Writes name into the reserved block; the segment it returns is owned by that block.
    // Null without a reserved block, for a name written already, or on failure.
    DataSegment* AddSegment(const char* name, int type, int dimCount, const int* dims,
                            const void* data, bool copy, bool append);
    // Reserve, fill the unnamed segment, dispatch: inline, so that each simple write is
    // one call with its type and shape known.
    [[gnu::always_inline]] int WriteSimple(DATATYPE type, int dimCount, const int* dims,
                                                              const void* data, bool copy)
    {
        int r = Reserve(true);
        if (r < 1)
            return r;
        Block* b = m_pAct;
        try {
            DataSegment* seg = b->UnnamedForWrite();
            if (!seg || !seg->SetData(type, dimCount, dims, data, copy))
                return -14;
        } catch (const std::bad_alloc&) {
            return -14;
        }
        return Send(b) ? 0 : -14;
    }
    // Takes the next block (result as RemoveBlock(true)); its first valid segment, owned
    // by the block and good until the producer's next write, or null.
    DataSegment* ReadFirstSegment(int& result);
    int ReadNumVec(DATATYPE type, void* buf, int* n);
    template <class T> int ReadScalar(DataSegment* seg, DATATYPE type, T& v) const;
    // The valid segment at index segment of the queued block at index block, when it has
    // type (any for UNDEF); owned by that block, good while it is queued. The common peek,
    // the first segment of the head block, is inline; every other case is out of line.
    const DataSegment* PeekSegment(int block, int segment, DATATYPE type) const
    {
        if (block == 0 && segment == 0 && m_bInput && !m_fan.m_queue.IsEmpty()) {
            const TCArray<std::unique_ptr<DataSegment>>& segs = m_fan.m_queue.GetHead()->m_segments;
            const DataSegment* seg = segs.GetSize() > 0 ? segs.GetData()[0].get() : nullptr;
            if (seg && seg->m_bValid && (type == UNDEF || seg->m_type == type))
                return seg;
        }
        return PeekSegmentSlow(block, segment, type);
    }
    const DataSegment* PeekSegmentSlow(int block, int segment, DATATYPE type) const;
    // The peeks: the first segment of a queued block as a matrix; -1 without one of type.
    template <class T>
    int PeekData(int block, DATATYPE type, const T*& data, int* rows, int* cols) const
    {
        const DataSegment* seg = PeekSegment(block, 0, type);
        if (!seg)
            return -1;
        data = static_cast<const T*>(seg->m_pData);
        seg->Shape(rows, cols);
        return seg->ElementCount();
    }
    int WriteBus(const char* name, DATATYPE type, int dimCount, const int* dims, const void* v,
                 bool copy, const TCTypeInfo* ti);
    // channel: the first channel's segment inside the act block (see the bus reads).
    int FindBusSegment(DataSegment*& channel, int index, TCTypeInfo* ti) const;

    TCArray<std::unique_ptr<Block>> m_blocks;
    BlockQueue m_freeList;
    bool m_bInput = false; // m_fan is in use (a flag, not a pointer: the stream may move)
    TCArray<TCIOStream*> m_fansOut; // connected inputs, not owned
    Block* m_pAct = nullptr;        // owned by its producer
    int m_nPrecision = 3;
    mutable int m_nErrFan = -1;
    bool m_bWriting = false; // the act block was reserved for writing (not taken for reading)
    // The input fan lives in the stream, so that the paths of every block reach its queue
    // without a further pointer hop.
    Fan m_fan;
};

