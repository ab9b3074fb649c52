#pragma once
// The running executable's own path, read in one place.
#include <windows.h>

// Every path lives in one of these on the caller's stack.
using PathBuffer = wchar_t[MAX_PATH];

// Whether GetModuleFileNameW wrote a whole path: it returns 0 on failure and
// fills the whole buffer when the path was cut short.
bool IsCompleteModulePath(DWORD length, DWORD capacity);

// Fills buffer with the full path of the running executable. False, with buffer
// empty, when it cannot be read whole: a cut-short path names another file.
bool GetModuleFilePath(PathBuffer& buffer);
