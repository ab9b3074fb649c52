#include "framework/ErrorMode.h"
#include "framework/SystemDlls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

std::wstring System32(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

TEST(LoadSystemLibraryTest, LoadsSystem32sCopyOrNothing) {
    HMODULE dwmapi = LoadSystemLibrary(L"dwmapi.dll");
    ASSERT_NE(nullptr, dwmapi);
    EXPECT_EQ(0, ::lstrcmpiW(System32(L"dwmapi.dll").c_str(), ModulePath(dwmapi).c_str()));
    EXPECT_NE(nullptr, GetProcedure<FARPROC>(dwmapi, "DwmIsCompositionEnabled"));
    EXPECT_EQ(nullptr, GetProcedure<FARPROC>(dwmapi, "NoSuchFunction"));
    EXPECT_EQ(nullptr, GetProcedure<FARPROC>(nullptr, "DwmIsCompositionEnabled"));
    ::FreeLibrary(dwmapi);

    EXPECT_EQ(nullptr, LoadSystemLibrary(L"no-such-library.dll"));
}

// Afterwards each of those DLLs that this Windows has is in the process, as
// System32's copy, so that a later load by bare name finds it there.
TEST(PreloadBareNameDependenciesTest, LeavesEachOneLoadedFromSystem32) {
    PreloadBareNameDependencies();
    int found = 0;
    for (const wchar_t* const* name = kBareNameDependencies; *name != nullptr; ++name) {
        if (::GetFileAttributesW(System32(*name).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        HMODULE module = ::GetModuleHandleW(*name);
        ASSERT_NE(nullptr, module) << *name;
        EXPECT_EQ(0, ::lstrcmpiW(System32(*name).c_str(), ModulePath(module).c_str())) << *name;
        ++found;
    }
    EXPECT_GE(found, 2) << "uxtheme and dwmapi at least";
    // Restores the search the other tests run with.
    ::SetDllDirectoryW(nullptr);
}

// The thread's mode while one lives: critical errors fail instead of asking,
// whatever else was set stays set; afterwards the mode is what it was.
TEST(NoDiskPromptTest, AddsItsFlagAndRestoresTheModeBefore) {
    for (UINT before : {0u, static_cast<UINT>(SEM_NOGPFAULTERRORBOX), static_cast<UINT>(SEM_FAILCRITICALERRORS)}) {
        ASSERT_TRUE(::SetThreadErrorMode(before, nullptr));
        {
            CNoDiskPrompt quiet;
            EXPECT_EQ(before | SEM_FAILCRITICALERRORS, ::GetThreadErrorMode()) << before;
            {
                CNoDiskPrompt nested;
                EXPECT_EQ(before | SEM_FAILCRITICALERRORS, ::GetThreadErrorMode()) << before;
            }
            EXPECT_EQ(before | SEM_FAILCRITICALERRORS, ::GetThreadErrorMode()) << before;
        }
        EXPECT_EQ(before, ::GetThreadErrorMode()) << before;
    }
    ::SetThreadErrorMode(0, nullptr);
}

}  // namespace
