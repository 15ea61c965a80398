#pragma once

// TCBlockBuffer, whole port blocks collected in memory and written out again.

#include "corekit80/streams/TCBlockStatus.h"
#include "corekit80/streams/TCTypeInfo.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"

class TCPortHelper;

// Lets a module keep whole blocks of its inputs across Fetch calls and write them out later,
// one by one or concatenated into one block. Reads and writes go through the module's port
// helper (not owned; set before the first read or write). Blocks taken off the buffer are
// kept for reuse with their storage, a bounded number of them.
//
// Data types are the port codes' low 24 bits. Element storage by type: 0 the block's binary
// record (bytes), 0x1/0x2/0x4 and 0x8 (matrix) int, 0x10/0x20/0x40 and 0x80 (matrix) double,
// 0x100 (text) and 0x200 (array of texts) TCString; any other type holds no storage.
class TC_EXPORT TCBlockBuffer {
public:
    // One block: its elements and its type information. Copies own their elements.
    class TC_EXPORT TCBlock {
    public:
        explicit TCBlock(unsigned long dataType);
        TCBlock(const TCBlock& other);
        TCBlock& operator=(const TCBlock& other);
        ~TCBlock();

        // Elements in use (bytes of a binary record), and elements the array holds.
        int GetSize() const { return m_size; }
        int GetAllocSpace() const { return m_alloc; }
        void* GetData() { return m_data; }
        const void* GetData() const { return m_data; }
        unsigned long DataType() const { return m_dataType; }
        // The column count of a matrix block: set by reading, used by writing.
        unsigned GetColumns() const { return m_columns; }
        void SetColumns(unsigned columns) { m_columns = columns; }
        // Grows the array when n exceeds the allocated space, keeping the elements in use;
        // false, and nothing changed, when that fails.
        bool SetSize(unsigned n);
        // Text blocks (0x100): the summed lengths of the texts in use, each cut at its first
        // zero byte unless binary; 0 for every other type.
        int StrLen(bool binary) const;

        // One block of the input into this one: the number of values read (0 for a binary
        // record), 0 when the input's type does not fit or nothing waits, or the port helper's
        // negative code.
        int ReadBlock(TCPortHelper* ph, unsigned input);
        // This block to the output with its type information: the port helper's result, 0
        // when the output's type does not fit or for a matrix without columns. A matrix goes
        // out through the output's buffer, by reference: -19 while a line of the output
        // still holds a block (whatever AllowMultipleMatrices says).
        int WriteBlock(TCPortHelper* ph, unsigned output);

        TCBLOCKSTATUS GetStatus() const { return m_ti.State; }
        TCBLOCKSTATUS GetTI(TCTypeInfo& out) const;
        // Ignored for null and for binary records, which carry their own.
        void SetTI(const TCTypeInfo* ti);

    private:
        friend class TCBlockBuffer;

        // The group of port types that takes a block of this type.
        static unsigned long MakeCompatibleDatatype(unsigned long type);
        static int ElemSize(unsigned long type);
        // n elements of type (value-initialised), or null.
        static void* Alloc(int n, unsigned long type);
        static void Free(void* data, unsigned long type);
        static void CopyData(void* to, const void* from, unsigned n, unsigned long type);
        // Whether this block can be taken for n elements of type without allocating.
        bool IsFree(unsigned long type, unsigned n) const { return m_dataType == type && unsigned(m_alloc) >= n; }
        int ReadMatrix(TCPortHelper* ph, unsigned input, unsigned& n);
        int WriteMatrix(TCPortHelper* ph, unsigned output);
        int ReadRecord(TCPortHelper* ph, unsigned input);

        void* m_data = nullptr;
        int m_size = 0;
        int m_alloc = 0;
        unsigned m_columns = 0;
        int m_reserved = 0;
        unsigned long m_dataType;
        TCTypeInfo m_ti;
    };

    TCBlockBuffer() = default;
    ~TCBlockBuffer() { RemoveAll(true); }
    TCBlockBuffer(const TCBlockBuffer&) = delete;
    TCBlockBuffer& operator=(const TCBlockBuffer&) = delete;

    void SetPortHelper(TCPortHelper* ph) { m_ph = ph; }
    // Whether text lengths count the whole stored text (true) or stop at its first zero byte.
    void SetBinStr(bool binary) { m_binStr = binary; }

    // Blocks in reading order; block i, null out of range.
    int GetSize() const { return m_blocks.GetSize(); }
    TCBlock* operator[](unsigned i) { return i < unsigned(m_blocks.GetSize()) ? m_blocks[int(i)] : nullptr; }
    const TCBlock* operator[](unsigned i) const
    {
        return i < unsigned(m_blocks.GetSize()) ? m_blocks[int(i)] : nullptr;
    }
    // A block of type with n elements in use, appended: a kept one whose storage suffices,
    // else a new one; null when it cannot be made.
    TCBlock* NewBlock(unsigned long type, unsigned n);
    // Appends b, which the buffer then owns; its index.
    int Add(TCBlock* b);
    // Block i leaves the buffer. Unless destroy it is kept for reuse while the kept ones
    // number at most 2 x (blocks left) + 20; otherwise it is destroyed.
    void RemoveAt(unsigned i, bool destroy);
    // Every block leaves the buffer (kept for reuse unless destroy); of the kept ones the
    // first 10 stay (none with destroy).
    void RemoveAll(bool destroy);

    // Elements over all blocks; element size of block i's type (text types 1); the summed
    // text lengths of the text blocks (0x100); bytes over all blocks: element size x size,
    // except text types, which count StrLen (so arrays of texts count nothing).
    int CountElems() const;
    int ElemSize(int i) const;
    int StrLen() const;
    int GetDataSize() const;

    // Reads the input's next block, or with all every waiting one, each into a new block:
    // the number of blocks read, or a negative code (-1 without port helper, -14 when a
    // block cannot be made).
    int ReadBlock(unsigned input, bool all);
    // Block i to the output: its result, 0 out of range, -1 without port helper.
    int WriteBlock(unsigned output, unsigned i);
    // Every block in order (stopping at the first negative result, which is returned), or
    // concatenated into one block of the output's type: 0x4, 0x40, 0x100 (every text of
    // the text blocks joined, each as long as StrLen counts it) or 0x200, with the last
    // block's type information and the common status. 0 when all went out, also when a
    // block of another type stops the concatenation before anything is written; 0 for an
    // output without line; -1 without port helper; -14 for another output type or when the
    // output's buffer cannot be had.
    int WriteAllBlocks(unsigned output, bool concatenate);

private:
    // Removes and returns the first kept block that fits, or null.
    TCBlock* FindFreeBlock(unsigned long type, unsigned n);
    bool CheckPortHelper() const { return m_ph != nullptr; }
    int WriteConcatenatedBlocks(unsigned output);
    // The status of the blocks as one: start mark from any START or COMPLETE, stop mark from
    // any STOP or COMPLETE; BUSY for an empty buffer.
    TCBLOCKSTATUS GetCommonStatus() const;

    TCPortHelper* m_ph = nullptr;
    TCArray<TCBlock*, TCBlock*> m_blocks;
    TCArray<TCBlock*, TCBlock*> m_free;
    bool m_binStr = false;
};
