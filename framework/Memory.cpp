#include "Memory.h"

bool AfxArrayBytes(SIZE_T count, SIZE_T itemBytes, SIZE_T* bytes) {
    if (itemBytes != 0 && count > kMaxAllocation / itemBytes) {
        return false;
    }
    *bytes = count * itemBytes;
    return true;
}

void AfxOutOfMemory() {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(STATUS_NO_MEMORY));
    for (;;) {
    }
}

void* AfxAllocate(SIZE_T bytes) {
    if (bytes > kMaxAllocation) {
        AfxOutOfMemory();
    }
    void* block = ::HeapAlloc(::GetProcessHeap(), 0, bytes != 0 ? bytes : 1);
    if (block == nullptr) {
        AfxOutOfMemory();
    }
    return block;
}

void* AfxAllocateArray(SIZE_T count, SIZE_T itemBytes) {
    SIZE_T bytes = 0;
    if (!AfxArrayBytes(count, itemBytes, &bytes)) {
        AfxOutOfMemory();
    }
    return AfxAllocate(bytes);
}

void AfxFree(void* block) {
    if (block == nullptr) {
        return;
    }
#ifdef AUTORUN_CHECKED
    // The checked build looks at each block as it goes: HeapFree itself lets
    // one written past its end go unseen (Wine checks the tail here only).
    if (!::HeapValidate(::GetProcessHeap(), 0, block)) {
        ::RaiseException(static_cast<DWORD>(STATUS_HEAP_CORRUPTION), EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
#endif
    ::HeapFree(::GetProcessHeap(), 0, block);
}
