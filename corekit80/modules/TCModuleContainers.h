#pragma once

// MyInternalVector, MyInternalMatrix and MyReadonlyMatrix: the module libraries' containers
// as the modules layer takes them.

#include <climits>
#include <cstdint>

#include "corekit80/types/TCArray.h"

// The module libraries' resizable, indexable vector. It is TCArray<T, T> itself, so that a
// module may bind either one and both take the same reads and writes (one overload of
// TCBaseModuleEx::Input serves both).
template <class T>
using MyInternalVector = TCArray<T, T>;

// A matrix with a row count, a column count and its values contiguous, row after row.
// SetSize keeps no values; like every stored class here it survives bytewise moves.
template <class T>
class MyInternalMatrix {
public:
    MyInternalMatrix() = default;
    MyInternalMatrix(unsigned rows, unsigned cols) { SetSize(rows, cols); }

    unsigned GetRows() const { return m_rows; }
    unsigned GetCols() const { return m_cols; }
    T* GetData() { return m_values.GetData(); }
    const T* GetData() const { return m_values.GetData(); }
    T& operator()(unsigned row, unsigned col) { return m_values[int(row * m_cols + col)]; }
    const T& operator()(unsigned row, unsigned col) const { return m_values[int(row * m_cols + col)]; }

    // False, and the matrix unchanged, when rows x cols does not fit an array. The buffer
    // is kept when it is large enough, so equal sizes cost nothing.
    bool SetSize(unsigned rows, unsigned cols)
    {
        const uint64_t n = uint64_t(rows) * cols;
        if (n > uint64_t(INT_MAX))
            return false;
        m_values.SetSize(int(n));
        m_rows = rows;
        m_cols = cols;
        return true;
    }

private:
    TCArray<T, T> m_values;
    unsigned m_rows = 0;
    unsigned m_cols = 0;
};

// A matrix that refers to values it does not own, row after row: bound as an input, it is
// attached to the data of the block read, valid until the writer's next write on that line.
template <class T>
class MyReadonlyMatrix {
public:
    unsigned GetRows() const { return m_rows; }
    unsigned GetCols() const { return m_cols; }
    const T* GetData() const { return m_data; }
    const T& operator()(unsigned row, unsigned col) const { return m_data[row * m_cols + col]; }

    void Attach(unsigned rows, unsigned cols, const T* data)
    {
        m_rows = data ? rows : 0;
        m_cols = data ? cols : 0;
        m_data = data;
    }
    void Detach() { Attach(0, 0, nullptr); }

private:
    const T* m_data = nullptr;
    unsigned m_rows = 0;
    unsigned m_cols = 0;
};
