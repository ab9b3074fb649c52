#pragma once
// Where the launcher's DLLs come from. It runs from discs, mounted images and
// Downloads folders, where anyone may have put a DLL under a system DLL's name,
// and the installer it starts runs elevated. So it imports only DLLs that Windows
// always takes from System32, and loads everything else here, from System32.
#include <windows.h>

// Makes every later load by bare name search System32 only: neither the folder
// the executable lies in nor the current one counts any more. Where Windows lacks
// SetDefaultDllDirectories (Windows 7 without KB2533623), falls back to
// PreloadBareNameDependencies. Call before anything else.
void RestrictDllSearch();

// The fallback: takes the current folder out of the search and loads, by full
// System32 path, the DLLs that the common controls and the shell load by bare
// name, so that those later loads find them already in the process instead of
// looking beside the executable.
void PreloadBareNameDependencies();

// The DLLs PreloadBareNameDependencies loads, ending with a null.
extern const wchar_t* const kBareNameDependencies[];

// Loads System32's copy of name (a bare file name), with its own dependencies
// looked up from System32 too. Null if there is none.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Loads the common controls 6.0 that the manifest asks for and registers their
// classes (the shield on a button needs them). False if they could not be loaded.
bool LoadCommonControls();

// A function of module, or null; typed by the caller.
template <typename Function>
Function GetProcedure(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through void (*)(), which converts to any function type without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
