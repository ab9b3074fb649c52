#pragma once
// What a process's exit code says about how it ended.
#include <windows.h>

#include <cstdio>
#include <string>

namespace testing_support {

// It asked for memory it could not have: the framework's heap ends it so.
inline bool EndedOutOfMemory(int exitCode) {
    return static_cast<DWORD>(exitCode) == STATUS_NO_MEMORY;
}

// It was given a block, used all of it and exited, or it ended out of memory.
inline bool GivenWholeOrOutOfMemory(int exitCode) {
    return exitCode == 0 || EndedOutOfMemory(exitCode);
}

// What ended a process of a checked build, by its exit or exception code: the
// builds trap on undefined behaviour with an illegal instruction, and their heap
// checks end them with STATUS_HEAP_CORRUPTION. Null for any other code.
inline const char* CheckThatEnded(DWORD code) {
    switch (code) {
    case STATUS_ILLEGAL_INSTRUCTION:
        return "an undefined-behaviour check trapped";
    case STATUS_HEAP_CORRUPTION:
        return "its heap failed validation";
    default:
        return nullptr;
    }
}

// Empty for a process that ended by itself; otherwise the crash, with the check
// that ended it.
inline std::string CrashOf(DWORD exitCode) {
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lX", exitCode);
    if (const char* check = CheckThatEnded(exitCode)) {
        return std::string(code) + ": " + check;
    }
    return (exitCode & 0xC0000000) == 0xC0000000 ? std::string(code) + ": it crashed" : "";
}

}  // namespace testing_support
