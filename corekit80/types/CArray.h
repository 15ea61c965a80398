#pragma once

// CArray, the framework's growable array of elements that survive bytewise moves.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

#include "corekit80/types/CException.h"
#include "corekit80/types/TCExport.h"

// The framework's growable array. The elements live in one malloc'ed buffer that is
// moved bytewise (realloc, memmove) when it grows or elements shift, so an element
// type must survive being moved that way: no pointers into the object itself.
// An index outside the array throws CInvalidArgException; a size that cannot be
// allocated throws std::bad_alloc.
template <class TYPE, class ARG_TYPE = const TYPE&>
class TC_EXPORT CArray {
    static_assert(alignof(TYPE) <= alignof(std::max_align_t),
                  "the buffer has malloc's alignment");

public:
    CArray() = default;
    // Delegates first, so that the destructor cleans up when a copy throws.
    CArray(const CArray& src) : CArray() { Copy(src); }
    CArray(CArray&& src) noexcept { TakeFrom(src); }
    virtual ~CArray() { Release(); }

    CArray& operator=(const CArray& src)
    {
        Copy(src);
        return *this;
    }
    CArray& operator=(CArray&& src) noexcept
    {
        if (this != &src) {
            Release();
            TakeFrom(src);
        }
        return *this;
    }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    bool IsEmpty() const { return m_nSize == 0; }
    int GetUpperBound() const { return m_nSize - 1; }
    // Elements the buffer holds room for.
    int GetAllocSize() const { return m_nMaxSize; }

    // nNewSize -1 empties the array and keeps the buffer, 0 frees the buffer.
    // nGrowBy >= 0 sets the growth step (0: chosen from the size), -1 keeps it.
    void SetSize(int nNewSize, int nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize < -1) [[unlikely]]
            throw CInvalidArgException();
        if (nNewSize <= 0) {
            DestroyElements(m_pData, m_nSize);
            m_nSize = 0;
            if (nNewSize == 0)
                FreeBuffer();
            return;
        }
        if (nNewSize > m_nMaxSize)
            Grow(nNewSize);
        if (nNewSize > m_nSize)
            ConstructDefault(m_pData + m_nSize, nNewSize - m_nSize);
        else
            DestroyElements(m_pData + nNewSize, m_nSize - nNewSize);
        m_nSize = nNewSize;
    }

    void FreeExtra()
    {
        if (m_nSize == 0)
            FreeBuffer();
        else if (m_nSize != m_nMaxSize)
            Reallocate(m_nSize);
    }

    void RemoveAll() { SetSize(0); }

    const TYPE& GetAt(int nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& GetAt(int nIndex) { return m_pData[Checked(nIndex)]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(int nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& ElementAt(int nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE& operator[](int nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& operator[](int nIndex) { return m_pData[Checked(nIndex)]; }

    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }
    const TYPE* begin() const { return m_pData; }
    const TYPE* end() const { return m_pData + m_nSize; }
    TYPE* begin() { return m_pData; }
    TYPE* end() { return m_pData + m_nSize; }

    // Sets the element, growing the array when nIndex lies past its end.
    void SetAtGrow(int nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0) [[unlikely]]
            throw CInvalidArgException();
        if (nIndex >= m_nSize) {
            if constexpr (kArgMayAlias) {
                if (Aliases(newElement)) {
                    TYPE copy(newElement);
                    SetAtGrow(nIndex, copy);
                    return;
                }
            }
            SetSize(CheckedCount(nIndex, 1));
        }
        m_pData[nIndex] = newElement;
    }

    // Appends one element and returns its index.
    int Add(ARG_TYPE newElement)
    {
        if constexpr (kArgMayAlias && kSmallPlain) {
            // A small plain element is copied first: growing cannot pull it away, and the
            // caller's variable need not live in memory for an alias check.
            const TYPE copy = newElement;
            return AddLast(copy);
        } else {
            if constexpr (kArgMayAlias) {
                if (m_nSize == m_nMaxSize && Aliases(newElement)) {
                    TYPE copy(newElement);
                    return AddLast(copy);
                }
            }
            return AddLast(newElement);
        }
    }

    // Appends copies of the elements of src and returns the index of the first.
    int Append(const CArray& src)
    {
        if (&src == this) {
            CArray copy(src);
            return Append(copy);
        }
        int nOldSize = m_nSize;
        FillGap(m_nSize, src.m_nSize, [&](TYPE* p, int i) { CopyConstruct(p, src.m_pData[i]); });
        return nOldSize;
    }

    void Copy(const CArray& src)
    {
        if (&src == this)
            return;
        SetSize(src.m_nSize);
        std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData);
    }

    // Inserts nCount copies at nIndex; an index past the end first pads the array
    // with new elements.
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0) [[unlikely]]
            throw CInvalidArgException();
        if constexpr (kArgMayAlias) {
            if (Aliases(newElement)) {
                TYPE copy(newElement);
                InsertAt(nIndex, copy, nCount);
                return;
            }
        }
        FillGap(nIndex, nCount, [&](TYPE* p, int) { ConstructFrom(p, newElement); });
    }

    // Inserts copies of the elements of pNewArray at nStartIndex.
    void InsertAt(int nStartIndex, const CArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0) [[unlikely]]
            throw CInvalidArgException();
        if (pNewArray == this) {
            CArray copy(*this);
            InsertAt(nStartIndex, &copy);
            return;
        }
        FillGap(nStartIndex, pNewArray->m_nSize,
                [&](TYPE* p, int i) { CopyConstruct(p, pNewArray->m_pData[i]); });
    }

    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || static_cast<long long>(nIndex) + nCount > m_nSize)
            [[unlikely]] throw CInvalidArgException();
        DestroyElements(m_pData + nIndex, nCount);
        CloseGap(nIndex, nCount);
    }

protected:
    // Elements added to the capacity when the array outgrows its buffer.
    virtual int GetGrowStep() const
    {
        return m_nGrowBy > 0 ? m_nGrowBy : std::clamp(m_nSize / 8, 4, 1024);
    }

private:
    static constexpr long long kMaxCount =
        std::min<long long>(INT_MAX, PTRDIFF_MAX / static_cast<long long>(sizeof(TYPE)));

    // An element passed by reference may live in this array, where a growing buffer
    // or shifting elements would pull it from under the operation: such an argument
    // is copied first.
    static constexpr bool kArgMayAlias =
        std::is_reference_v<ARG_TYPE> && std::is_same_v<std::remove_cvref_t<ARG_TYPE>, TYPE>;

    static constexpr bool kSmallPlain =
        std::is_trivially_copyable_v<TYPE> && sizeof(TYPE) <= 2 * sizeof(void*);

    // The count is read once and stored last: an element store may alias the int counts,
    // and reading the count again after it would wait for that store.
    int AddLast(ARG_TYPE newElement)
    {
        const int n = m_nSize;
        if (n == m_nMaxSize)
            Grow(CheckedCount(n, 1));
        ConstructFrom(m_pData + n, newElement);
        m_nSize = n + 1;
        return n;
    }

    bool Aliases(const TYPE& arg) const
    {
        auto p = reinterpret_cast<std::uintptr_t>(std::addressof(arg));
        return m_pData && p >= reinterpret_cast<std::uintptr_t>(m_pData) &&
               p < reinterpret_cast<std::uintptr_t>(m_pData + m_nMaxSize);
    }

    int Checked(int nIndex) const
    {
        if (static_cast<unsigned>(nIndex) >= static_cast<unsigned>(m_nSize)) [[unlikely]]
            throw CInvalidArgException();
        return nIndex;
    }

    static int CheckedCount(long long base, long long extra)
    {
        if (base + extra > kMaxCount) [[unlikely]]
            throw std::bad_alloc();
        return static_cast<int>(base + extra);
    }

    // Takes the capacity past nNewSize: the capacity plus the growth step, or
    // nNewSize when that is larger.
    void Grow(int nNewSize)
    {
        long long nNewMax = static_cast<long long>(m_nMaxSize) + std::max(GetGrowStep(), 0);
        Reallocate(static_cast<int>(std::clamp<long long>(nNewMax, nNewSize, kMaxCount)));
    }

    void Reallocate(int nNewMax)
    {
        void* p = std::realloc(static_cast<void*>(m_pData), static_cast<size_t>(nNewMax) * sizeof(TYPE));
        if (p == nullptr) [[unlikely]]
            throw std::bad_alloc();
        m_pData = static_cast<TYPE*>(p);
        m_nMaxSize = nNewMax;
    }

    void FreeBuffer()
    {
        std::free(static_cast<void*>(m_pData));
        m_pData = nullptr;
        m_nMaxSize = 0;
    }

    void Release() noexcept
    {
        DestroyElements(m_pData, m_nSize);
        m_nSize = 0;
        FreeBuffer();
    }

    void TakeFrom(CArray& src) noexcept
    {
        m_pData = src.m_pData;
        m_nSize = src.m_nSize;
        m_nMaxSize = src.m_nMaxSize;
        m_nGrowBy = src.m_nGrowBy;
        src.m_pData = nullptr;
        src.m_nSize = src.m_nMaxSize = 0;
    }

    // Plain elements start as zero bytes, class elements default-constructed.
    static void ConstructDefault(TYPE* p, int n)
    {
        if constexpr (std::is_trivially_default_constructible_v<TYPE>) {
            std::memset(static_cast<void*>(p), 0, static_cast<size_t>(n) * sizeof(TYPE));
        } else {
            int i = 0;
            try {
                for (; i < n; ++i)
                    ::new (static_cast<void*>(p + i)) TYPE();
            } catch (...) {
                DestroyElements(p, i);
                throw;
            }
        }
    }

    static void CopyConstruct(TYPE* p, const TYPE& src) { ::new (static_cast<void*>(p)) TYPE(src); }

    static void ConstructFrom(TYPE* p, ARG_TYPE arg)
    {
        if constexpr (std::is_constructible_v<TYPE, ARG_TYPE>) {
            ::new (static_cast<void*>(p)) TYPE(arg);
        } else {
            ConstructDefault(p, 1);
            try {
                *p = arg;
            } catch (...) {
                p->~TYPE();
                throw;
            }
        }
    }

    static void DestroyElements(TYPE* p, int n) noexcept
    {
        if constexpr (!std::is_trivially_destructible_v<TYPE>) {
            for (int i = 0; i < n; ++i)
                p[i].~TYPE();
        }
    }

    // Opens room for nCount unconstructed elements at nIndex, shifting the tail up;
    // an index past the end pads the array with new elements first.
    TYPE* OpenGap(int nIndex, int nCount)
    {
        int nNewSize = CheckedCount(std::max(nIndex, m_nSize), nCount);
        if (nNewSize > m_nMaxSize)
            Grow(nNewSize);
        if (nIndex > m_nSize) {
            ConstructDefault(m_pData + m_nSize, nIndex - m_nSize);
            m_nSize = nIndex;
        }
        TYPE* gap = m_pData + nIndex;
        std::memmove(static_cast<void*>(gap + nCount), static_cast<const void*>(gap),
                     static_cast<size_t>(m_nSize - nIndex) * sizeof(TYPE));
        m_nSize += nCount;
        return gap;
    }

    // Removes nCount unconstructed elements at nIndex, shifting the tail down.
    void CloseGap(int nIndex, int nCount) noexcept
    {
        TYPE* gap = m_pData + nIndex;
        std::memmove(static_cast<void*>(gap), static_cast<const void*>(gap + nCount),
                     static_cast<size_t>(m_nSize - nIndex - nCount) * sizeof(TYPE));
        m_nSize -= nCount;
    }

    // Opens a gap and constructs its elements with construct(p, i); if one throws,
    // the gap closes again.
    template <class F>
    void FillGap(int nIndex, int nCount, F construct)
    {
        if (nCount == 0)
            return;
        TYPE* gap = OpenGap(nIndex, nCount);
        int i = 0;
        try {
            for (; i < nCount; ++i)
                construct(gap + i, i);
        } catch (...) {
            DestroyElements(gap, i);
            CloseGap(nIndex, nCount);
            throw;
        }
    }

    TYPE* m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};
