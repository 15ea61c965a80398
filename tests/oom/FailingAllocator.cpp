// The failing heap behind FailingAllocator.h.
#include "FailingAllocator.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

// The entry points run before the sanitizer has set itself up: they are not instrumented.
#define UNCHECKED __attribute__((no_sanitize("address", "undefined")))

namespace {
bool g_open = false;
bool g_persistent = false;
const void* g_spared = nullptr;

// Whether caller lies in the spared library.
UNCHECKED bool Spared(const void* caller)
{
    Dl_info info;
    return g_spared && dladdr(caller, &info) && info.dli_fbase == g_spared;
}
long g_failAt = 0;
long g_count = 0;
long g_failed = 0;

// Counts an allocation of the window asked for from caller; true when it is to fail.
UNCHECKED bool Fails(const void* caller)
{
    if (!g_open || Spared(caller))
        return false;
    ++g_count;
    if (g_failAt <= 0 || g_count < g_failAt || (g_count > g_failAt && !g_persistent))
        return false;
    ++g_failed;
    errno = ENOMEM;
    return true;
}
}  // namespace

void failing_allocator::Arm(long failAt, bool persistent, const void* spare)
{
    Dl_info info;
    g_failAt = failAt;
    g_persistent = persistent;
    g_spared = spare && dladdr(spare, &info) ? info.dli_fbase : nullptr;
    g_count = g_failed = 0;
}
long failing_allocator::Count() { return g_count; }
long failing_allocator::Failed() { return g_failed; }
bool failing_allocator::Persistent() { return g_persistent; }
failing_allocator::Window::Window() { g_open = true; }
failing_allocator::Window::~Window() { g_open = false; }

// The real entry points: the sanitizer's when it owns the heap, else the C library's.
#if defined(__SANITIZE_ADDRESS__)
#define REAL(name) __interceptor_##name
#else
#define REAL(name) __libc_##name
#endif

#define CALLER __builtin_return_address(0)

extern "C" {
void* REAL(malloc)(size_t);
void* REAL(calloc)(size_t, size_t);
void* REAL(realloc)(void*, size_t);
void* REAL(memalign)(size_t, size_t);

UNCHECKED void* malloc(size_t n) { return Fails(CALLER) ? nullptr : REAL(malloc)(n); }
UNCHECKED void* calloc(size_t n, size_t size) { return Fails(CALLER) ? nullptr : REAL(calloc)(n, size); }
UNCHECKED void* realloc(void* p, size_t n) { return Fails(CALLER) ? nullptr : REAL(realloc)(p, n); }
UNCHECKED void* aligned_alloc(size_t alignment, size_t n) { return Fails(CALLER) ? nullptr : REAL(memalign)(alignment, n); }
UNCHECKED int posix_memalign(void** p, size_t alignment, size_t n)
{
    if (Fails(CALLER))
        return ENOMEM;
    return (*p = REAL(memalign)(alignment, n)) ? 0 : ENOMEM;
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer copies these itself; the C library's call malloc.
char* __interceptor_strdup(const char*);
char* __interceptor_strndup(const char*, size_t);
UNCHECKED char* strdup(const char* s) { return Fails(CALLER) ? nullptr : __interceptor_strdup(s); }
UNCHECKED char* strndup(const char* s, size_t n) { return Fails(CALLER) ? nullptr : __interceptor_strndup(s, n); }
#endif
}

// operator new on malloc, so that both pass the plan and every block goes back through free.
namespace {
void* New(size_t n)
{
    if (void* p = malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(size_t n) { return New(n); }
void* operator new[](size_t n) { return New(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return malloc(n ? n : 1); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return malloc(n ? n : 1); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }
