#include "tests/support/Files.h"
#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <cstdint>

// The guard every protected frame of the framework checks (framework/StackGuard.cpp).
extern "C" uintptr_t __stack_chk_guard;

namespace {

TEST(StackGuardTest, AnOverrunStackEndsTheProcessBeforeItReturns) {
    testing_support::ChildProcess smasher;
    ASSERT_TRUE(smasher.Start(testing_support::ExecutableFolder() + L"stack_smasher.exe"));
    ASSERT_TRUE(smasher.WaitForExit(15000));
    EXPECT_EQ(static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN), smasher.ExitCode());
}

// Its first byte in memory (x86 stores the low byte first) is where an overrun
// of a string buffer reaches it: a zero there stops a string copy and a string read.
TEST(StackGuardTest, TheSeededGuardStartsWithAZeroByte) {
    const uintptr_t guard = __stack_chk_guard;
    EXPECT_EQ(0u, guard & 0xFF) << std::hex << guard;
    EXPECT_NE(0u, guard >> 8) << "the rest is the seed";
}

}  // namespace
