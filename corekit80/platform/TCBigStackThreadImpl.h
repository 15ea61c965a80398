#pragma once

// TCBigStackThread, which runs work on a thread with a large, lazily committed stack.

#include <cstddef>
#include <type_traits>

// Runs deeply recursive work on a helper thread whose stack is reserved, not committed:
// the address range is mapped without a swap reservation, so only the pages the work
// touches cost memory. The caller waits until the work has finished.
class TCBigStackThread {
public:
    // Runs fn(arg) on a helper thread with stackBytes of stack (rounded up to whole
    // pages, below a guard page). False when no such thread could be made; then fn
    // has not run.
    static bool Run(size_t stackBytes, void (*fn)(void*), void* arg);

    // The same for any callable.
    template <class F>
    static bool Run(size_t stackBytes, F&& f)
    {
        return Run(stackBytes, [](void* p) { (*static_cast<std::remove_reference_t<F>*>(p))(); },
                   const_cast<void*>(static_cast<const void*>(&f)));
    }
};
