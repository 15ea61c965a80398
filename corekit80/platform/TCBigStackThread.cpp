// TCBigStackThread: deep recursion on a helper thread with a large reserved stack.
#include "corekit80/platform/TCBigStackThreadImpl.h"

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
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t minimum = PTHREAD_STACK_MIN > 65536 ? PTHREAD_STACK_MIN : 65536;
    if (stackBytes < minimum)
        stackBytes = minimum;
    if (stackBytes > SIZE_MAX / 2)
        return false;
    stackBytes = (stackBytes + page - 1) / page * page;

    // MAP_NORESERVE: the range is address space only; pages are committed as the
    // recursion reaches them. The lowest page stays inaccessible as the guard.
    void* base = mmap(nullptr, stackBytes + page, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (base == MAP_FAILED)
        return false;
    bool ran = false;
    pthread_attr_t attr;
    if (mprotect(base, page, PROT_NONE) == 0 && pthread_attr_init(&attr) == 0) {
        Work work{fn, arg};
        pthread_t thread;
        if (pthread_attr_setstack(&attr, static_cast<char*>(base) + page, stackBytes) == 0 &&
            pthread_create(&thread, &attr, Start, &work) == 0) {
            pthread_join(thread, nullptr);
            ran = true;
        }
        pthread_attr_destroy(&attr);
    }
    munmap(base, stackBytes + page);
    return ran;
}
