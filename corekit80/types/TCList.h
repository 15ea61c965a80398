#pragma once

// TCList, the doubly linked list, and TCNodePool, the block allocator of list and map nodes.

#include <climits>
#include <new>
#include <utility>

#include "corekit80/types/CException.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCPosition.h"

// Raw storage for the nodes of a list or map, allocated a block at a time. Nodes
// given back go to a free list and are handed out again before a new block is
// taken; the blocks are released only all together. Holds no pointers into itself,
// so the containers built on it survive bytewise moves.
template <class NODE>
class TCNodePool {
public:
    explicit TCNodePool(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 1) {}
    TCNodePool(const TCNodePool&) = delete;
    TCNodePool& operator=(const TCNodePool&) = delete;
    ~TCNodePool() { Release(); }

    int GetBlockSize() const { return m_nBlockSize; }
    // Nodes in all blocks, in use or free.
    int GetAllocated() const { return m_nAllocated; }

    void* Take()
    {
        if (m_pFree == nullptr)
            AddBlock();
        Slot* slot = m_pFree;
        m_pFree = slot->pNext;
        return slot;
    }

    // Takes back a node whose object has been destroyed.
    void Give(void* node) noexcept
    {
        Slot* slot = ::new (node) Slot;
        slot->pNext = m_pFree;
        m_pFree = slot;
    }

    // Frees every block; the nodes' objects must have been destroyed.
    void Release() noexcept
    {
        while (m_pBlocks != nullptr) {
            Slot* next = m_pBlocks->pNext;
            ::operator delete(m_pBlocks);
            m_pBlocks = next;
        }
        m_pFree = nullptr;
        m_nAllocated = 0;
    }

    void Swap(TCNodePool& other) noexcept
    {
        std::swap(m_nBlockSize, other.m_nBlockSize);
        std::swap(m_nAllocated, other.m_nAllocated);
        std::swap(m_pBlocks, other.m_pBlocks);
        std::swap(m_pFree, other.m_pFree);
    }

private:
    // A free node links to the next one; the first slot of a block links the blocks.
    union Slot {
        Slot* pNext;
        alignas(NODE) unsigned char node[sizeof(NODE)];
    };

    void AddBlock()
    {
        if (m_nAllocated > INT_MAX - m_nBlockSize)
            throw std::bad_alloc();
        Slot* block = static_cast<Slot*>(::operator new(sizeof(Slot) * (m_nBlockSize + 1u)));
        block->pNext = m_pBlocks;
        m_pBlocks = block;
        // Chained backwards so that the block is handed out front to back.
        for (int i = m_nBlockSize; i >= 1; --i) {
            block[i].pNext = m_pFree;
            m_pFree = &block[i];
        }
        m_nAllocated += m_nBlockSize;
    }

    int m_nBlockSize;
    int m_nAllocated = 0;
    Slot* m_pBlocks = nullptr;
    Slot* m_pFree = nullptr;
};

// Doubly linked list with the framework list's interface. Nodes are allocated
// nBlockSize (10) at a time and recycled through a free list; RemoveAll and the
// destructor free them. A null POSITION where a node is required, or a head or tail
// of an empty list, throws CInvalidArgException.
template <class TYPE, class ARG_TYPE = const TYPE&>
class TC_EXPORT TCList {
    struct Node {
        Node(Node* prev, Node* next, ARG_TYPE value) : pNext(next), pPrev(prev), data(value) {}
        Node* pNext;
        Node* pPrev;
        TYPE data;
    };

public:
    explicit TCList(int nBlockSize = 10) : m_pool(nBlockSize) {}
    // Delegates first, so that the destructor cleans up when a copy throws.
    TCList(const TCList& src) : TCList(src.m_pool.GetBlockSize()) { AddTail(&src); }
    TCList(TCList&& src) noexcept : m_pool(src.m_pool.GetBlockSize()) { Swap(src); }
    virtual ~TCList() { RemoveAll(); }

    TCList& operator=(const TCList& src)
    {
        if (this != &src) {
            RemoveAll();
            AddTail(&src);
        }
        return *this;
    }
    TCList& operator=(TCList&& src) noexcept
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
    // Nodes allocated, in use or waiting on the free list.
    int GetAllocatedNodes() const { return m_pool.GetAllocated(); }

    TYPE& GetHead() { return NonEmpty(m_pHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pTail)->data; }

    TYPE RemoveHead()
    {
        Node* node = NonEmpty(m_pHead);
        TYPE value(std::move(node->data));
        RemoveNode(node);
        return value;
    }
    TYPE RemoveTail()
    {
        Node* node = NonEmpty(m_pTail);
        TYPE value(std::move(node->data));
        RemoveNode(node);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return Link(nullptr, m_pHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return Link(m_pTail, nullptr, newElement); }

    // Add copies of the elements of pNewList (which may be this list) in their order.
    void AddHead(const TCList* pNewList)
    {
        Node* node = NonNull(pNewList)->m_pTail;
        for (int n = pNewList->m_nCount; n > 0; --n, node = node->pPrev)
            AddHead(node->data);
    }
    void AddTail(const TCList* pNewList)
    {
        Node* node = NonNull(pNewList)->m_pHead;
        for (int n = pNewList->m_nCount; n > 0; --n, node = node->pNext)
            AddTail(node->data);
    }

    void RemoveAll() noexcept
    {
        for (Node* node = m_pHead; node != nullptr;) {
            Node* next = node->pNext;
            node->~Node();
            node = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
        m_pool.Release();
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pTail); }

    // Return the element at rPosition and move rPosition on (null past the end).
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, NodeAt(rPosition)->pNext); }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, NodeAt(rPosition)->pNext); }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, NodeAt(rPosition)->pPrev); }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, NodeAt(rPosition)->pPrev); }

    TYPE& GetAt(POSITION position) { return NodeAt(position)->data; }
    const TYPE& GetAt(POSITION position) const { return NodeAt(position)->data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { NodeAt(position)->data = newElement; }
    void RemoveAt(POSITION position) { RemoveNode(NodeAt(position)); }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (position == nullptr)
            return AddHead(newElement);
        Node* next = reinterpret_cast<Node*>(position);
        return Link(next->pPrev, next, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (position == nullptr)
            return AddTail(newElement);
        Node* prev = reinterpret_cast<Node*>(position);
        return Link(prev, prev->pNext, newElement);
    }

    // The first element equal to searchValue after startAfter (null: from the head).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        Node* node = startAfter ? reinterpret_cast<Node*>(startAfter)->pNext : m_pHead;
        for (; node != nullptr; node = node->pNext) {
            if (node->data == searchValue)
                return ToPosition(node);
        }
        return nullptr;
    }

    // The nIndex-th element, or null when there is none.
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        Node* node;
        if (nIndex < m_nCount / 2) {
            for (node = m_pHead; nIndex > 0; --nIndex)
                node = node->pNext;
        } else {
            for (node = m_pTail, nIndex = m_nCount - 1 - nIndex; nIndex > 0; --nIndex)
                node = node->pPrev;
        }
        return ToPosition(node);
    }

private:
    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }

    static Node* NodeAt(POSITION position)
    {
        if (position == nullptr) [[unlikely]]
            throw CInvalidArgException();
        return reinterpret_cast<Node*>(position);
    }
    static Node* NonEmpty(Node* end) { return NodeAt(ToPosition(end)); }
    static const TCList* NonNull(const TCList* list)
    {
        if (list == nullptr) [[unlikely]]
            throw CInvalidArgException();
        return list;
    }

    static TYPE& Step(POSITION& rPosition, Node* to)
    {
        TYPE& data = reinterpret_cast<Node*>(rPosition)->data;
        rPosition = ToPosition(to);
        return data;
    }

    POSITION Link(Node* prev, Node* next, ARG_TYPE newElement)
    {
        if (m_nCount == INT_MAX) [[unlikely]]
            throw std::bad_alloc();
        void* raw = m_pool.Take();
        Node* node;
        try {
            node = ::new (raw) Node(prev, next, newElement);
        } catch (...) {
            m_pool.Give(raw);
            throw;
        }
        (prev ? prev->pNext : m_pHead) = node;
        (next ? next->pPrev : m_pTail) = node;
        ++m_nCount;
        return ToPosition(node);
    }

    void RemoveNode(Node* node) noexcept
    {
        (node->pPrev ? node->pPrev->pNext : m_pHead) = node->pNext;
        (node->pNext ? node->pNext->pPrev : m_pTail) = node->pPrev;
        node->~Node();
        m_pool.Give(node);
        --m_nCount;
    }

    void Swap(TCList& other) noexcept
    {
        std::swap(m_pHead, other.m_pHead);
        std::swap(m_pTail, other.m_pTail);
        std::swap(m_nCount, other.m_nCount);
        m_pool.Swap(other.m_pool);
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
    TCNodePool<Node> m_pool;
};
