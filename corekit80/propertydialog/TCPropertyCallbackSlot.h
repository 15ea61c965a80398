#pragma once

// TCPropertyCallbackSlot, a callback of 0 to 4 untyped arguments kept with its arguments.

#include <type_traits>

// Maps each parameter of a callback to the argument type its setter takes, so that the
// arguments are converted rather than deduced.
template <class>
struct TCPropertyCallbackArg {
    using type = const void*;
};

// One callback of a dialog or an item: a function returning R that takes 0 to 4 untyped
// constant pointers, the arguments to call it with and their count (-1 while empty). The
// getters follow the count, so a host calls the function with exactly the arguments it
// was set with.
template <class R>
class TCPropertyCallbackSlot {
public:
    using Fn0 = R (*)();
    using Fn1 = R (*)(const void*);
    using Fn2 = R (*)(const void*, const void*);
    using Fn3 = R (*)(const void*, const void*, const void*);
    using Fn4 = R (*)(const void*, const void*, const void*, const void*);
    using AnyFn = void (*)();

    // Stores fn with its n = sizeof...(A) arguments and clears the other argument places.
    template <class... A>
    void Set(R (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        static_assert(sizeof...(A) <= 4, "a callback takes at most four arguments");
        static_assert((std::is_same_v<A, const void*> && ...),
                      "callback arguments are untyped constant pointers");
        const void* given[] = {args..., nullptr, nullptr, nullptr, nullptr};
        for (int i = 0; i < 4; ++i)
            m_args[i] = given[i];
        // Cast back to the type of the count before every call (Call, GetCallbackN).
        m_fn = reinterpret_cast<AnyFn>(fn);
        m_count = int(sizeof...(A));
    }
    void Clear() { *this = TCPropertyCallbackSlot(); }

    // The function when the count equals the getter's number, else null.
    Fn0 GetCallback0() const { return Typed<Fn0>(0); }
    Fn1 GetCallback1() const { return Typed<Fn1>(1); }
    Fn2 GetCallback2() const { return Typed<Fn2>(2); }
    Fn3 GetCallback3() const { return Typed<Fn3>(3); }
    Fn4 GetCallback4() const { return Typed<Fn4>(4); }
    // The argument when the count is at least the getter's number, else null.
    const void* GetCBArg1() const { return Arg(1); }
    const void* GetCBArg2() const { return Arg(2); }
    const void* GetCBArg3() const { return Arg(3); }
    const void* GetCBArg4() const { return Arg(4); }
    // The function whatever the count; null while empty.
    AnyFn HasCallback() const { return m_fn; }
    int GetArgCount() const { return m_count; }

    // Calls the function with its arguments; fallback when there is none.
    R Call(R fallback) const
    {
        switch (m_fn ? m_count : -1) {
        case 0: return GetCallback0()();
        case 1: return GetCallback1()(m_args[0]);
        case 2: return GetCallback2()(m_args[0], m_args[1]);
        case 3: return GetCallback3()(m_args[0], m_args[1], m_args[2]);
        case 4: return GetCallback4()(m_args[0], m_args[1], m_args[2], m_args[3]);
        default: return fallback;
        }
    }

private:
    template <class F>
    F Typed(int n) const { return m_count == n ? reinterpret_cast<F>(m_fn) : nullptr; }
    const void* Arg(int n) const { return m_count >= n ? m_args[n - 1] : nullptr; }

    AnyFn m_fn = nullptr;
    const void* m_args[4] = {};
    int m_count = -1;
};
