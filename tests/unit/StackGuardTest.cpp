#include "tests/support/Files.h"
#include "tests/support/Process.h"

#include <gtest/gtest.h>

namespace {

TEST(StackGuardTest, AnOverrunStackEndsTheProcessBeforeItReturns) {
    testing_support::ChildProcess smasher;
    ASSERT_TRUE(smasher.Start(testing_support::ExecutableFolder() + L"stack_smasher.exe"));
    ASSERT_TRUE(smasher.WaitForExit(15000));
    EXPECT_EQ(static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN), smasher.ExitCode());
}

}  // namespace
