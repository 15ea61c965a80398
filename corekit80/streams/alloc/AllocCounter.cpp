// The counting allocator behind AllocCounter_test.h.
#include "corekit80/streams/alloc/AllocCounter_test.h"

#include <cstddef>

namespace {
bool g_counting = false;
long g_allocations = 0;
}  // namespace

void alloc_counter::Start()
{
    g_allocations = 0;
    g_counting = true;
}

long alloc_counter::Stop()
{
    g_counting = false;
    return g_allocations;
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns malloc; its hooks see every allocation, operator new included.
// (Declared here: g++ ships the runtime without this header.)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                                         void (*onFree)(const volatile void*));

namespace {
void OnAlloc(const volatile void*, size_t)
{
    if (g_counting)
        ++g_allocations;
}
void OnFree(const volatile void*) {}
const int g_hooked = __sanitizer_install_malloc_and_free_hooks(OnAlloc, OnFree);
}  // namespace
#else
// Without the sanitizer the C library's entry points are wrapped; operator new calls malloc.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);

void* malloc(size_t n)
{
    if (g_counting)
        ++g_allocations;
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size)
{
    if (g_counting)
        ++g_allocations;
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n)
{
    if (g_counting)
        ++g_allocations;
    return __libc_realloc(p, n);
}
}
#endif
