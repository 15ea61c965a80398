// TCBigStackThread: deep recursion on a helper thread with a large reserved stack.
#include "corekit80/platform/TCBigStackThreadImpl.h"

#include <algorithm>
#include <cstdint>

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct Work {
    void (*fn)(void*);
    void* arg;
};

void* Start(void* p)
{
    Work* work = static_cast<Work*>(p);
    work->fn(work->arg);
    return nullptr;
}

} // namespace

bool TCBigStackThread::Run(size_t stackBytes, void (*fn)(void*), void* arg)
{
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return false;
    // Never less than an ordinary thread gets: the thread's static TLS is carved out of its
    // stack, and a sanitizer's runtime alone puts most of a megabyte there.
    size_t ordinary = 0;
    pthread_attr_getstacksize(&attr, &ordinary);
    stackBytes = std::max({stackBytes, ordinary, size_t(PTHREAD_STACK_MIN)});
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    bool ran = false;
    if (stackBytes <= SIZE_MAX / 2) {
        stackBytes = (stackBytes + page - 1) / page * page;
        // MAP_NORESERVE: the range is address space only; pages are committed as the
        // recursion reaches them. The lowest page stays inaccessible as the guard.
        void* base = mmap(nullptr, stackBytes + page, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
        if (base != MAP_FAILED) {
            Work work{fn, arg};
            pthread_t thread;
            if (mprotect(base, page, PROT_NONE) == 0 &&
                pthread_attr_setstack(&attr, static_cast<char*>(base) + page, stackBytes) == 0 &&
                pthread_create(&thread, &attr, Start, &work) == 0) {
                pthread_join(thread, nullptr);
                ran = true;
            }
            munmap(base, stackBytes + page);
        }
    }
    pthread_attr_destroy(&attr);
    return ran;
}
