// The stack protector's guard and its failure handler, ours rather than libssp's:
// libssp seeds its guard in a constructor that loads advapi32, before the entry
// has restricted where DLLs come from. This seeds it from what kernel32 has at
// hand, loading nothing. Compiled without the protector itself (CMakeLists.txt),
// as the guard changes under it.
#include <windows.h>

#include <cstdint>

extern "C" {

// The value every protected frame puts below its return address and checks.
uintptr_t __stack_chk_guard = static_cast<uintptr_t>(0x2B992DDFA232ull);

// Called by a protected function whose frame has been overrun: end at once,
// with the code Windows gives such a crash, running nothing else of ours.
[[noreturn]] void __stack_chk_fail() {
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    for (;;) {
    }
}

}  // extern "C"

namespace {

// Runs before any constructor or function of ours that the protector guards.
__attribute__((constructor(101))) void SeedStackGuard() {
    LARGE_INTEGER counter = {};
    ::QueryPerformanceCounter(&counter);
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    const uintptr_t seed = static_cast<uintptr_t>(counter.QuadPart) ^
                           (static_cast<uintptr_t>(now.dwHighDateTime) << 7) ^ now.dwLowDateTime ^
                           (static_cast<uintptr_t>(::GetCurrentProcessId()) << 16) ^ ::GetCurrentThreadId() ^
                           reinterpret_cast<uintptr_t>(&counter);  // where the stack is: ASLR's part
    // The guard's first byte in memory is zero: a string copy that overruns a
    // buffer cannot write the guard back and go on, and a string read stops there.
    __stack_chk_guard = (__stack_chk_guard ^ seed) & ~static_cast<uintptr_t>(0xFF);
}

}  // namespace
