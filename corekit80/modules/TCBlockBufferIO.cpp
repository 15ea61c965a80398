// TCBlockBuffer: blocks read from an input, written out one by one or concatenated.
#include <cstring>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/types/TCString.h"

using H = TCPortHelper;

namespace {

constexpr unsigned long kLow24 = H::DT_ELEMENT_BITS;
constexpr int kNoBuffer = -14;

}  // namespace

int TCBlockBuffer::ReadBlock(unsigned input, bool all)
{
    if (!CheckPortHelper())
        return -1;
    const unsigned long type = m_ph->DataType(PT_INPUT, input, nullptr) & kLow24;
    int count = 0;
    unsigned values = 0;
    while (m_ph->DataAvail(input, nullptr, nullptr, &values, nullptr)) {
        const int waiting = m_ph->BlocksOnStream(PT_INPUT, input);
        TCBlock* b = NewBlock(type, values);
        if (!b)
            return kNoBuffer;
        const int r = b->ReadBlock(m_ph, input);
        // A block that failed, or that took nothing off the input, is not kept: reading on
        // would find the same block again.
        if (r < 0 || m_ph->BlocksOnStream(PT_INPUT, input) >= waiting) {
            RemoveAt(unsigned(m_blocks.GetSize() - 1), false);
            return r < 0 ? r : count;
        }
        ++count;
        if (!all)
            break;
    }
    return count;
}

int TCBlockBuffer::WriteBlock(unsigned output, unsigned i)
{
    if (!CheckPortHelper())
        return -1;
    TCBlock* b = (*this)[i];
    return b ? b->WriteBlock(m_ph, output) : 0;
}

int TCBlockBuffer::WriteAllBlocks(unsigned output, bool concatenate)
{
    if (!CheckPortHelper())
        return -1;
    if (concatenate)
        return WriteConcatenatedBlocks(output);
    for (TCBlock* b : m_blocks) {
        const int r = b ? b->WriteBlock(m_ph, output) : 0;
        if (r < 0)
            return r;
    }
    return 0;
}

TCBLOCKSTATUS TCBlockBuffer::GetCommonStatus() const
{
    bool start = false, stop = false, any = false;
    for (const TCBlock* b : m_blocks)
        if (b) {
            any = true;
            start = start || TCBlockStatus::HasStart(b->GetStatus());
            stop = stop || TCBlockStatus::HasStop(b->GetStatus());
        }
    return any ? TCBlockStatus::FromMarks(start, stop) : TCBS_BUSY;
}

int TCBlockBuffer::WriteConcatenatedBlocks(unsigned output)
{
    const int total = CountElems();
    const unsigned long type = m_ph->DataType(PT_OUTPUT, output, nullptr) & kLow24;
    if (!m_ph->IsWired(PT_OUTPUT, output, H::LT_STREAMS))
        return 0;
    const int chars = type == H::DT_STRING ? StrLen() : 0;
    TCString* texts = nullptr;
    char* joined = nullptr;
    int* ints = nullptr;
    double* doubles = nullptr;
    switch (type) {
    case H::DT_STRING_ARRAY: texts = m_ph->AllocStringData(output, unsigned(total)); break;
    case H::DT_STRING:
        texts = m_ph->AllocStringData(output, 1);
        joined = texts ? texts->GetBufferSetLength(chars) : nullptr;
        break;
    case H::DT_SWORD_ARRAY: ints = m_ph->AllocIntData(output, unsigned(total)); break;
    case H::DT_DOUBLE_ARRAY: doubles = m_ph->AllocDblData(output, unsigned(total)); break;
    default: return kNoBuffer;
    }
    if ((total > 0 && !texts && !ints && !doubles) || (chars > 0 && !joined))
        return kNoBuffer;
    TCTypeInfo ti;
    if (m_blocks.GetSize() > 0 && m_blocks[m_blocks.GetSize() - 1])
        m_blocks[m_blocks.GetSize() - 1]->GetTI(ti);
    ti.State = GetCommonStatus();
    m_ph->SetTypeInfo(output, ti);
    int at = 0;
    for (const TCBlock* b : m_blocks) {
        if (!b)
            continue;
        // The output's type itself: binary records and the other element types stop the write.
        if (b->DataType() != type)
            return 0;
        const int n = b->GetSize();
        if (type == H::DT_STRING) {
            // Each text of the block, as long as the buffer's text lengths count it.
            const TCString* from = static_cast<const TCString*>(b->GetData());
            for (int k = 0; k < n; ++k) {
                const int len = m_binStr ? from[k].GetLength() : from[k].SafeStrlen();
                std::memcpy(joined + at, static_cast<const char*>(from[k]), size_t(len));
                at += len;
            }
            continue;
        }
        void* to = texts ? static_cast<void*>(texts + at) : ints ? static_cast<void*>(ints + at) : doubles + at;
        TCBlock::CopyData(to, b->GetData(), unsigned(n), b->DataType());
        at += n;
    }
    if (type == H::DT_STRING)
        texts->ReleaseBuffer(at);
    const int r = m_ph->WriteInternalData(output);
    return r < 0 ? r : 0;
}
