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
    e->flags = uint8_t(ArchiveParser::ArchiveData::flagListed | type);
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
            if (!block.used[i]) {
                block.used[i] = 1;
                m_scanBlock = b;
                m_scanIndex = i;
                Claimed(&block.entries[i], id, type);
                return &block.entries[i];
            }
        }
    }
    int count = m_total ? m_total : 1;
    // The marks follow the entries in the same allocation.
    auto* entries = static_cast<Buf*>(calloc(size_t(count), sizeof(Buf) + 1));
    if (!entries)
        throw std::bad_alloc();
    auto* used = reinterpret_cast<uint8_t*>(entries + count);
    for (int i = 0; i < count; ++i)
        entries[i].flags = ArchiveData::flagListed;
    try {
        m_blocks.push_back({entries, used, count});
    } catch (const std::bad_alloc&) {
        free(entries);
        throw;
    }
    used[0] = 1;
    m_total += count;
    m_scanBlock = m_blocks.size() - 1;
    m_scanIndex = 0;
    Claimed(entries, id, type);
    return entries;
}

// Makes the entry fresh and free, and moves the scan back to it when it lies before the
// scan position; called under the lock.
void ArchiveParser::MemManager::Return(Buf* e)
{
    *e = Buf{};
    e->flags = ArchiveData::flagListed;
    // A section's entries mostly lie in one block: the block of the scan is tried first.
    // Blocks double, so there are few of them to search otherwise.
    const auto holds = [e](const MemManagerData& block) {
        return e >= block.entries && e < block.entries + block.count;
    };
    size_t b = m_scanBlock < m_blocks.size() && holds(m_blocks[m_scanBlock]) ? m_scanBlock : 0;
    for (; b < m_blocks.size(); ++b)
        if (holds(m_blocks[b])) {
            const int index = int(e - m_blocks[b].entries);
            m_blocks[b].used[index] = 0;
            if (b < m_scanBlock || (b == m_scanBlock && index < m_scanIndex)) {
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
