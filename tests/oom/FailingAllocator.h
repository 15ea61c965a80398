#pragma once

// A heap that fails on request, for the out-of-memory tests: it replaces the allocator's
// entry points (operator new and the malloc family) of the program it is linked into.

namespace failing_allocator {

// The plan for the next windows: allocations in them are counted from 1 and the failAt-th
// fails (0: none); with persistent every later one fails too. The allocations that the
// shared library holding spare asks for itself are left out (neither counted nor failed).
// Resets the counts.
void Arm(long failAt, bool persistent, const void* spare = nullptr);
// The allocations asked for in the windows since Arm, and how many of them failed.
long Count();
long Failed();
// Whether the plan fails every allocation after the first failed one.
bool Persistent();

// While it lives, allocations are counted and fail as planned; outside it they succeed
// (setting up, checking, and the sanitizer's own).
class Window {
public:
    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
};

}  // namespace failing_allocator
