#pragma once
// The framework's heap: the process heap, through HeapAlloc. A request that
// cannot be met ends the process with STATUS_NO_MEMORY: the launcher's blocks
// are a few hundred bytes, and a machine that has none left cannot show a
// menu anyway.
#include <windows.h>

// bytes of fresh memory; never null.
void* AfxAllocate(SIZE_T bytes);

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
