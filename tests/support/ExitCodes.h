#pragma once
// What a process's exit code says about how it ended.
#include <windows.h>


namespace testing_support {

// It asked for memory it could not have: the framework's heap ends it so.
inline bool EndedOutOfMemory(int exitCode) {
    return static_cast<DWORD>(exitCode) == STATUS_NO_MEMORY;
}

// It was given a block, used all of it and exited, or it ended out of memory.
inline bool GivenWholeOrOutOfMemory(int exitCode) {
    return exitCode == 0 || EndedOutOfMemory(exitCode);
}

}  // namespace testing_support
