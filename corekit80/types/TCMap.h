#pragma once

// TCMap, the hash map with the framework map's interface, and the TCHashKey hash functions.

#include <climits>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "corekit80/types/CException.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCList.h"
#include "corekit80/types/TCPosition.h"
#include "corekit80/types/TCString.h"

// Hash values of map keys. Integers and pointers hash to their value shifted right
// by four; texts hash by their characters up to the first zero byte, the part that
// their comparison sees. Key types of one's own get an overload beside the type.
template <class ARG_KEY>
    requires std::is_integral_v<ARG_KEY> || std::is_enum_v<ARG_KEY> || std::is_pointer_v<ARG_KEY>
inline unsigned TCHashKey(ARG_KEY key)
{
    if constexpr (std::is_pointer_v<ARG_KEY>) {
        return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(key) >> 4);
    } else {
        // Keys of 32 bits or less hash as unsigned 32-bit values, negative ones included.
        using Bits = std::conditional_t<(sizeof(ARG_KEY) <= 4), std::uint32_t, std::uint64_t>;
        return static_cast<unsigned>(static_cast<Bits>(key) >> 4);
    }
}

inline unsigned TCHashKey(const char* key)
{
    unsigned hash = 0;
    if (key != nullptr) {
        for (; *key != 0; ++key)
            hash = (hash << 5) + hash + static_cast<unsigned char>(*key);
    }
    return hash;
}

inline unsigned TCHashKey(const TCString& key) { return TCHashKey(static_cast<const char*>(key)); }

// Hash map with the framework map's interface: 17 buckets by default, the table
// allocated on the first insertion, nodes allocated nBlockSize (10) at a time and
// recycled through a free list. Keys compare with KEY == ARG_KEY.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class TC_EXPORT TCMap {
    struct Node {
        Node(Node* next, unsigned hash, ARG_KEY k) : pNext(next), nHashValue(hash), key(k), value() {}
        Node(Node* next, const Node& src)
            : pNext(next), nHashValue(src.nHashValue), key(src.key), value(src.value) {}
        Node* pNext;
        unsigned nHashValue;
        KEY key;
        VALUE value;
    };

public:
    explicit TCMap(int nBlockSize = 10) : m_pool(nBlockSize) {}
    // Delegates first, so that the destructor cleans up when a copy throws.
    TCMap(const TCMap& src) : TCMap(src.m_pool.GetBlockSize()) { CopyFrom(src); }
    TCMap(TCMap&& src) noexcept : m_pool(src.m_pool.GetBlockSize()) { Swap(src); }
    virtual ~TCMap() { RemoveAll(); }

    TCMap& operator=(const TCMap& src)
    {
        if (this != &src) {
            RemoveAll();
            CopyFrom(src);
        }
        return *this;
    }
    TCMap& operator=(TCMap&& src) noexcept
    {
        if (this != &src) {
            RemoveAll();
            Swap(src);
        }
        return *this;
    }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    unsigned GetHashTableSize() const { return m_nHashTableSize; }
    // Nodes allocated, in use or waiting on the free list.
    int GetAllocatedNodes() const { return m_pool.GetAllocated(); }

    bool Lookup(ARG_KEY key, VALUE& rValue) const
    {
        Node* node = FindNode(key, TCHashKey(key));
        if (node == nullptr)
            return false;
        rValue = node->value;
        return true;
    }

    // The value of key, added as a new (zero or default) value when key is missing.
    VALUE& operator[](ARG_KEY key)
    {
        unsigned hash = TCHashKey(key);
        if (Node* node = FindNode(key, hash))
            return node->value;
        if (m_pHashTable == nullptr)
            m_pHashTable = new Node*[m_nHashTableSize]();
        Node*& bucket = m_pHashTable[hash % m_nHashTableSize];
        bucket = NewNode([&](void* raw) { return ::new (raw) Node(bucket, hash, key); });
        return bucket->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    bool RemoveKey(ARG_KEY key)
    {
        if (m_pHashTable == nullptr)
            return false;
        unsigned hash = TCHashKey(key);
        for (Node** link = &m_pHashTable[hash % m_nHashTableSize]; *link != nullptr;
             link = &(*link)->pNext) {
            Node* node = *link;
            if (node->nHashValue == hash && node->key == key) {
                *link = node->pNext;
                node->~Node();
                m_pool.Give(node);
                --m_nCount;
                return true;
            }
        }
        return false;
    }

    // Empties the map and frees the table and the nodes; the table size stays.
    void RemoveAll() noexcept
    {
        if (m_pHashTable != nullptr) {
            for (unsigned b = 0; b < m_nHashTableSize; ++b) {
                for (Node* node = m_pHashTable[b]; node != nullptr;) {
                    Node* next = node->pNext;
                    node->~Node();
                    node = next;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
        m_pool.Release();
    }

    // Iteration in table order: null when the map is empty.
    POSITION GetStartPosition() const
    {
        return m_nCount == 0 ? nullptr : ToPosition(FirstFrom(0));
    }

    // Returns the pair at rNextPosition and moves it on (null after the last).
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        if (rNextPosition == nullptr) [[unlikely]]
            throw CInvalidArgException();
        const Node* node = reinterpret_cast<const Node*>(rNextPosition);
        rKey = node->key;
        rValue = node->value;
        rNextPosition = ToPosition(
            node->pNext ? node->pNext : FirstFrom(node->nHashValue % m_nHashTableSize + 1));
    }

    // Sets the number of buckets (a prime suits best); present pairs are spread
    // over the new table. bAllocNow false on an empty map defers the table to the
    // first insertion. A size of 0 changes nothing.
    void InitHashTable(unsigned nHashSize, bool bAllocNow = true)
    {
        if (nHashSize == 0)
            return;
        Node** table = (bAllocNow || m_nCount > 0) ? new Node*[nHashSize]() : nullptr;
        if (m_pHashTable != nullptr) {
            for (unsigned b = 0; b < m_nHashTableSize; ++b) {
                for (Node* node = m_pHashTable[b]; node != nullptr;) {
                    Node* next = node->pNext;
                    Node*& bucket = table[node->nHashValue % nHashSize];
                    node->pNext = bucket;
                    bucket = node;
                    node = next;
                }
            }
            delete[] m_pHashTable;
        }
        m_pHashTable = table;
        m_nHashTableSize = nHashSize;
    }

private:
    static POSITION ToPosition(const Node* node)
    {
        return reinterpret_cast<POSITION>(const_cast<Node*>(node));
    }

    Node* FindNode(ARG_KEY key, unsigned hash) const
    {
        if (m_pHashTable == nullptr)
            return nullptr;
        for (Node* node = m_pHashTable[hash % m_nHashTableSize]; node != nullptr; node = node->pNext) {
            if (node->nHashValue == hash && node->key == key)
                return node;
        }
        return nullptr;
    }

    // The first node in bucket b or a later one.
    Node* FirstFrom(unsigned b) const
    {
        for (; b < m_nHashTableSize; ++b) {
            if (m_pHashTable[b] != nullptr)
                return m_pHashTable[b];
        }
        return nullptr;
    }

    // Constructs a node in pooled storage.
    template <class F>
    Node* NewNode(F construct)
    {
        if (m_nCount == INT_MAX) [[unlikely]]
            throw std::bad_alloc();
        void* raw = m_pool.Take();
        Node* node;
        try {
            node = construct(raw);
        } catch (...) {
            m_pool.Give(raw);
            throw;
        }
        ++m_nCount;
        return node;
    }

    // Copies the pairs of src into this empty map, bucket by bucket.
    void CopyFrom(const TCMap& src)
    {
        m_nHashTableSize = src.m_nHashTableSize;
        if (src.m_pHashTable == nullptr)
            return;
        m_pHashTable = new Node*[m_nHashTableSize]();
        for (unsigned b = 0; b < m_nHashTableSize; ++b) {
            for (const Node* s = src.m_pHashTable[b]; s != nullptr; s = s->pNext) {
                Node*& bucket = m_pHashTable[b];
                bucket = NewNode([&](void* raw) { return ::new (raw) Node(bucket, *s); });
            }
        }
    }

    void Swap(TCMap& other) noexcept
    {
        std::swap(m_pHashTable, other.m_pHashTable);
        std::swap(m_nHashTableSize, other.m_nHashTableSize);
        std::swap(m_nCount, other.m_nCount);
        m_pool.Swap(other.m_pool);
    }

    Node** m_pHashTable = nullptr;
    unsigned m_nHashTableSize = 17;
    int m_nCount = 0;
    TCNodePool<Node> m_pool;
};
