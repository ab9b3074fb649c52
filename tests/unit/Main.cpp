// The unit tests' entry: GoogleTest's, with the process heap validated after
// every test and a crash reported with the test it happened in.
#include "tests/support/ExitCodes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Fails the test after which the process heap no longer validates. Under
// WINEDEBUG=warn+heap Wine also checks every block's tail there, and its own
// line names the block that was overrun. A heap once broken stays so: only the
// first test it fails after is blamed.
class HeapCheck : public testing::EmptyTestEventListener {
public:
    void OnTestIterationStart(const testing::UnitTest&, int) override {
        Check("the process heap does not validate before the first test");
    }
    void OnTestEnd(const testing::TestInfo&) override {
        Check("the process heap does not validate after this test");
    }

private:
    void Check(const char* failure) {
        if (!m_broken && !::HeapValidate(::GetProcessHeap(), 0, nullptr)) {
            m_broken = true;
            ADD_FAILURE() << failure;
        }
    }

    bool m_broken = false;
};

// A crash ends the run at once: say which test it ended.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    const char* check = testing_support::CheckThatEnded(code);
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "\n%s%s%s crashed: exception 0x%08lX at %p%s%s\n",
                 test != nullptr ? test->test_suite_name() : "the run", test != nullptr ? "." : "",
                 test != nullptr ? test->name() : "", code, exception->ExceptionRecord->ExceptionAddress,
                 check != nullptr ? ": " : "", check != nullptr ? check : "");
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    ::SetUnhandledExceptionFilter(&ReportCrash);
    testing::UnitTest::GetInstance()->listeners().Append(new HeapCheck);
    return RUN_ALL_TESTS();
}
