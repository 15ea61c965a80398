#pragma once

// TCPropertyBound, one end of an item's range: absent, a number, or a caller's variable.

// One bound of an item's range. The kind tag says where its value lives: nowhere, in
// the bound itself, or in the caller's int or double, which is read whenever the value
// is needed (so the module may change the bound while the dialog is shown).
class TCPropertyBound {
public:
    enum Kind { ABSENT, OWN_DOUBLE, CALLER_INT, CALLER_DOUBLE };

    Kind GetKind() const { return m_kind; }
    bool IsPresent() const { return m_kind != ABSENT; }
    // Where the value lives: the bound's own double, the caller's variable, or null.
    const void* Get() const
    {
        return m_kind == OWN_DOUBLE ? static_cast<const void*>(&m_own) : m_caller;
    }
    // The value; 0 when absent.
    double Read() const
    {
        switch (m_kind) {
        case OWN_DOUBLE: return m_own;
        case CALLER_INT: return *static_cast<const int*>(m_caller);
        case CALLER_DOUBLE: return *static_cast<const double*>(m_caller);
        default: return 0.0;
        }
    }

    void Set(double value) { *this = TCPropertyBound(OWN_DOUBLE, value, nullptr); }
    // A null variable stores 0 in the bound itself.
    void Set(const int* variable) { SetCaller(CALLER_INT, variable); }
    void Set(const double* variable) { SetCaller(CALLER_DOUBLE, variable); }
    void Clear() { *this = TCPropertyBound(); }
    // Changes the value where it lives (the caller's int takes it truncated); nothing
    // when absent. The caller's variable must be writable, as module variables are.
    void Write(double value)
    {
        if (m_kind == OWN_DOUBLE)
            m_own = value;
        else if (m_kind == CALLER_INT)
            *const_cast<int*>(static_cast<const int*>(m_caller)) = int(value);
        else if (m_kind == CALLER_DOUBLE)
            *const_cast<double*>(static_cast<const double*>(m_caller)) = value;
    }

    TCPropertyBound() = default;

private:
    TCPropertyBound(Kind kind, double own, const void* caller) : m_kind(kind), m_own(own), m_caller(caller) {}
    void SetCaller(Kind kind, const void* variable)
    {
        *this = variable ? TCPropertyBound(kind, 0.0, variable) : TCPropertyBound(OWN_DOUBLE, 0.0, nullptr);
    }

    Kind m_kind = ABSENT;
    double m_own = 0.0;
    const void* m_caller = nullptr;
};
