#include "Memory.h"

void* AfxAllocate(SIZE_T bytes) {
    void* block = ::HeapAlloc(::GetProcessHeap(), 0, bytes != 0 ? bytes : 1);
    if (block == nullptr) {
        ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(STATUS_NO_MEMORY));
    }
    return block;
}

void AfxFree(void* block) {
    if (block != nullptr) {
        ::HeapFree(::GetProcessHeap(), 0, block);
    }
}
