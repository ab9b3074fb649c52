#include "framework/Memory.h"

#include "tests/support/ExitCodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using testing_support::EndedOutOfMemory;
using testing_support::GivenWholeOrOutOfMemory;

// The size of an array at the limits of one block: exact up to the cap,
// refused past it, and never a product that wrapped round to a small number.
TEST(ArrayBytesTest, IsExactUpToTheCapAndRefusedPastIt) {
    struct Case {
        const char* what;
        SIZE_T count;
        SIZE_T itemBytes;
        bool fits;
        SIZE_T bytes;
    };
    const Case cases[] = {
        {"empty", 0, sizeof(wchar_t), true, 0},
        {"no items, however large", 0, SIZE_MAX, true, 0},
        {"the cap", kMaxAllocation, 1, true, kMaxAllocation},
        {"the cap in pairs", kMaxAllocation / 2, 2, true, kMaxAllocation - 1},
        {"one past the cap", kMaxAllocation + 1, 1, false, 0},
        {"one pair past the cap", kMaxAllocation / 2 + 1, 2, false, 0},
        {"0 in 32 bits", SIZE_T{0x80000000}, 2, false, 0},
        {"2 in any width", SIZE_MAX / 2 + 2, 2, false, 0},
        {"the most a count holds", SIZE_MAX, 1, false, 0},
        {"one item of the most bytes", 1, SIZE_MAX, false, 0},
    };
    for (const Case& c : cases) {
        SIZE_T bytes = 12345;
        EXPECT_EQ(c.fits, AfxArrayBytes(c.count, c.itemBytes, &bytes)) << c.what;
        EXPECT_EQ(c.fits ? c.bytes : 12345, bytes) << c.what;
    }
}

TEST(AllocateTest, AnEmptyRequestGetsABlockOfItsOwn) {
    void* first = AfxAllocate(0);
    void* second = AfxAllocateArray(0, sizeof(int));
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    AfxFree(first);
    AfxFree(second);
    AfxFree(nullptr);
}

// The launcher's operator new hands out these blocks, and the compiler places
// any object of up to __STDCPP_DEFAULT_NEW_ALIGNMENT__ in what it returns: every
// block, of every small size, is aligned to that.
TEST(AllocateTest, EveryBlockIsAlignedAsOperatorNewPromises) {
    std::vector<void*> blocks;
    for (SIZE_T bytes = 0; bytes < 64; ++bytes) {
        blocks.push_back(AfxAllocate(bytes));
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(blocks.back()) % __STDCPP_DEFAULT_NEW_ALIGNMENT__)
            << "a block of " << bytes << " bytes at " << blocks.back();
    }
    for (void* block : blocks) {
        AfxFree(block);
    }
}

TEST(AllocateDeathTest, TheCapIsGivenWholeOrNotAtAll) {
    // A 32-bit process has no room for it; a 64-bit one may.
    EXPECT_EXIT(
        {
            auto* block = static_cast<volatile BYTE*>(AfxAllocate(kMaxAllocation));
            block[0] = 1;
            block[kMaxAllocation - 1] = 1;
            ::ExitProcess(0);
        },
        GivenWholeOrOutOfMemory, "");
}

TEST(AllocateDeathTest, WhatCannotBeMetEndsTheProcess) {
    EXPECT_EXIT(AfxAllocate(kMaxAllocation + 1), EndedOutOfMemory, "") << "one past the cap";
    EXPECT_EXIT(AfxAllocate(SIZE_MAX), EndedOutOfMemory, "") << "the most a size holds";
    EXPECT_EXIT(AfxAllocateArray(SIZE_MAX / 2 + 2, 2), EndedOutOfMemory, "") << "a product that wraps to 2 bytes";
    EXPECT_EXIT(AfxAllocateArray(kMaxAllocation / 2 + 1, 2), EndedOutOfMemory, "") << "one pair past the cap";
}

}  // namespace
