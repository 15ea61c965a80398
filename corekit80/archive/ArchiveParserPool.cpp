// MemManager, the process-wide pool from which every archive tree takes its entries.
#include <cstdlib>
#include <new>

#include "corekit80/archive/ArchiveParserImpl.h"

using Buf = ArchiveParser::MemManager::Buf;

namespace {

// Entries of the process-wide pool claimed by one thread: a tree is built on one thread, so
// its entries come from here without a lock each. What is left goes back when the thread ends.
struct Spare {
    static constexpr int size = 64;
    Buf* list[size];
    int count = 0;

    ~Spare()
    {
        if (count)
            ArchiveParser::MemManager::Process()->Unclaim(list, count);
    }
};

thread_local Spare spare;

void Claimed(Buf* e, uint16_t id, int type)
{
    e->id = id;
    e->flags = uint8_t(ArchiveParser::ArchiveData::flagListed | ArchiveParser::ArchiveData::flagPooled | type);
}

} // namespace

ArchiveParser::MemManager::~MemManager()
{
    for (auto& b : m_blocks)
        free(b.entries);
}

ArchiveParser::MemManager* ArchiveParser::MemManager::Process()
{
    // Never destroyed: parsers in static objects may outlive any destruction order.
    static MemManager* pool = new MemManager;
    return pool;
}

ArchiveParser::MemManager::Buf* ArchiveParser::MemManager::Alloc(uint16_t id, int type)
{
    if (this != Process()) {
        std::lock_guard<std::mutex> lock(m_lock);
        return Take(id, type);
    }
    Spare& s = spare;
    if (s.count == 0) {
        // Handed out last to first, so a tree's entries follow each other in memory.
        Buf* batch[Spare::size];
        s.count = Claim(batch, Spare::size);
        for (int k = 0; k < s.count; ++k)
            s.list[k] = batch[s.count - 1 - k];
    }
    Buf* e = s.list[--s.count];
    Claimed(e, id, type);
    return e;
}

int ArchiveParser::MemManager::Claim(Buf** list, int n)
{
    std::lock_guard<std::mutex> lock(m_lock);
    // Out of memory part way, the entries already taken are handed out rather than lost.
    int k = 0;
    try {
        for (; k < n; ++k)
            list[k] = Take(0, 0);
    } catch (const std::bad_alloc&) {
        if (k == 0)
            throw;
    }
    return k;
}

void ArchiveParser::MemManager::Unclaim(Buf* const* list, int n)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (int k = 0; k < n; ++k)
        Return(list[k]);
}

// The first entry not in use from the scan position on, or one of a new block as large as
// all before it; called under the lock.
ArchiveParser::MemManager::Buf* ArchiveParser::MemManager::Take(uint16_t id, int type)
{
    for (size_t b = m_scanBlock; b < m_blocks.size(); ++b) {
        MemManagerData& block = m_blocks[b];
        for (int i = b == m_scanBlock ? m_scanIndex : 0; i < block.count; ++i) {
            Buf* e = &block.entries[i];
            if (!(e->flags & ArchiveData::flagPooled)) {
                m_scanBlock = b;
                m_scanIndex = i;
                Claimed(e, id, type);
                return e;
            }
        }
    }
    int count = m_total ? m_total : 1;
    auto* entries = static_cast<Buf*>(calloc(size_t(count), sizeof(Buf)));
    if (!entries)
        throw std::bad_alloc();
    for (int i = 0; i < count; ++i)
        entries[i].flags = ArchiveData::flagListed;
    m_blocks.push_back({entries, count});
    m_total += count;
    m_scanBlock = m_blocks.size() - 1;
    m_scanIndex = 0;
    Claimed(entries, id, type);
    return entries;
}

// Makes the entry fresh and moves the scan back to it when it lies before the scan
// position; called under the lock.
void ArchiveParser::MemManager::Return(Buf* e)
{
    *e = Buf{};
    e->flags = ArchiveData::flagListed;
    // A section's entries mostly lie in one block: the block of the scan is tried first.
    size_t b = m_scanBlock < m_blocks.size() && e >= m_blocks[m_scanBlock].entries &&
                       e < m_blocks[m_scanBlock].entries + m_blocks[m_scanBlock].count
                   ? m_scanBlock
                   : 0;
    for (; b <= m_scanBlock && b < m_blocks.size(); ++b)
        if (e >= m_blocks[b].entries && e < m_blocks[b].entries + m_blocks[b].count) {
            int index = int(e - m_blocks[b].entries);
            if (b < m_scanBlock || index < m_scanIndex) {
                m_scanBlock = b;
                m_scanIndex = index;
            }
            break;
        }
}

void ArchiveParser::MemManager::Free(Buf* const* list, int n)
{
    // The children's own entries come back here, so they go before the lock is taken.
    for (int k = 0; k < n; ++k) {
        Buf* e = list[k];
        if (e->Type() == typeSubSection)
            delete e->child;
        else if (e->Type() == typeString || e->Type() == typeBinary)
            free(e->bytes);
        free(e->description);
    }
    Unclaim(list, n);
}
