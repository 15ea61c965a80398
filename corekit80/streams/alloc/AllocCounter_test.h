#pragma once

// Counts the heap allocations of the program it is linked into: the allocation tests of the
// streams and modules layers, which replace the allocator's entry points and so are a program of their own.

namespace alloc_counter {

// Counting from zero.
void Start();
// Counting stopped; the allocations since Start.
long Stop();

}  // namespace alloc_counter
