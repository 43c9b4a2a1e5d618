#include "support/LargestAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

static std::atomic<std::size_t> largestAllocation{0};

std::size_t LargestAllocation() {
    return largestAllocation.load();
}

void ResetLargestAllocation() {
    largestAllocation = 0;
}

void *operator new(std::size_t size) {
    std::size_t seen = largestAllocation.load();
    while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void *p) noexcept {
    std::free(p);
}
void operator delete[](void *p) noexcept {
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept {
    std::free(p);
}
