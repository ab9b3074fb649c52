#pragma once
// The framework's heap: the process heap, through HeapAlloc. A request that
// cannot be met ends the process with STATUS_NO_MEMORY: the launcher's blocks
// are a few hundred bytes, and a machine that has none left cannot show a
// menu anyway. So does a request larger than one block may be, or whose size
// does not fit a SIZE_T: no caller ever gets a block shorter than it asked for.
#include <windows.h>

// The most one block holds, in both architectures: no 32-bit process has room
// for a larger one, and adding to a size within it never wraps a SIZE_T.
constexpr SIZE_T kMaxAllocation = 0x7FFFFFFF;

// The bytes of count items of itemBytes each in *bytes; false, and *bytes
// untouched, when they are more than kMaxAllocation.
bool AfxArrayBytes(SIZE_T count, SIZE_T itemBytes, SIZE_T* bytes);

// Ends the process as a failed allocation does.
[[noreturn]] void AfxOutOfMemory();

// bytes of fresh memory; never null.
void* AfxAllocate(SIZE_T bytes);

// Fresh memory for count items of itemBytes each; never null.
void* AfxAllocateArray(SIZE_T count, SIZE_T itemBytes);

// Frees what AfxAllocate returned; null is ignored.
void AfxFree(void* block);

// CHeapBlock: the one owner of a block of the framework's heap.
class CHeapBlock {
public:
    explicit CHeapBlock(SIZE_T bytes) : m_block(AfxAllocate(bytes)) {}
    ~CHeapBlock() { AfxFree(m_block); }
    CHeapBlock(const CHeapBlock&) = delete;
    CHeapBlock& operator=(const CHeapBlock&) = delete;

    BYTE* Get() const { return static_cast<BYTE*>(m_block); }

private:
    void* m_block;
};
