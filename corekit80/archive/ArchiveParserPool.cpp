// MemManager, the process-wide pool from which every archive tree takes its entries.
#include <cstdlib>
#include <new>

#include "corekit80/archive/ArchiveParserImpl.h"

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
    std::lock_guard<std::mutex> lock(m_lock);
    for (size_t b = m_scanBlock; b < m_blocks.size(); ++b) {
        MemManagerData& block = m_blocks[b];
        for (int i = b == m_scanBlock ? m_scanIndex : 0; i < block.count; ++i) {
            Buf* e = &block.entries[i];
            if (!(e->flags & ArchiveData::flagPooled)) {
                m_scanBlock = b;
                m_scanIndex = i;
                e->id = id;
                e->flags = uint8_t(ArchiveData::flagListed | ArchiveData::flagPooled | type);
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
    entries->id = id;
    entries->flags = uint8_t(ArchiveData::flagListed | ArchiveData::flagPooled | type);
    return entries;
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
    std::lock_guard<std::mutex> lock(m_lock);
    for (int k = 0; k < n; ++k) {
        Buf* e = list[k];
        *e = Buf{};
        e->flags = ArchiveData::flagListed;
        // The scan moves back to the freed entry when it lies before the scan position.
        for (size_t b = 0; b <= m_scanBlock && b < m_blocks.size(); ++b)
            if (e >= m_blocks[b].entries && e < m_blocks[b].entries + m_blocks[b].count) {
                int index = int(e - m_blocks[b].entries);
                if (b < m_scanBlock || index < m_scanIndex) {
                    m_scanBlock = b;
                    m_scanIndex = index;
                }
                break;
            }
    }
}
