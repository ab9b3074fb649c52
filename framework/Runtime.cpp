// What the compiler's output asks of a C++ runtime, for the launcher's own
// executables, which link none: operator new and delete on the framework's heap,
// and the handler of a call to a pure virtual function. Built with exceptions
// and RTTI off, the code needs nothing else. (The tests link the real runtime.)
#include "Memory.h"

#include <cstddef>

// The compiler puts any object of up to this alignment in what operator new
// returns, and HeapAlloc aligns no further than MEMORY_ALLOCATION_ALIGNMENT.
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ <= MEMORY_ALLOCATION_ALIGNMENT, "operator new's blocks are HeapAlloc's");

void* operator new(std::size_t bytes) {
    return AfxAllocate(bytes);
}

void* operator new[](std::size_t bytes) {
    return AfxAllocate(bytes);
}

void operator delete(void* block) noexcept {
    AfxFree(block);
}

void operator delete[](void* block) noexcept {
    AfxFree(block);
}

void operator delete(void* block, std::size_t) noexcept {
    AfxFree(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    AfxFree(block);
}

// A pure virtual function called during construction or destruction: a bug,
// and nothing sensible can follow it.
extern "C" void __cxa_pure_virtual() {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(STATUS_ASSERTION_FAILURE));
}
