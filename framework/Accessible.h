#pragma once
// What screen readers (Microsoft Active Accessibility, which Narrator and the
// Japanese screen readers read) learn of a window that describes itself: the
// system's standard object for it, which gives its name, role and state, with
// the window's own description added. The accessibility library and COM are
// loaded from System32 and started only when the first reader asks (COM ends
// with the framework's entry, AfxEndCom).
#include <windows.h>

#include <oleacc.h>

// The answer to WM_GETOBJECT (wParam, lParam as it came) when the window's
// client object is asked for: the standard object answering description as
// its accDescription. 0 for any other object, or when none can be made, and
// the window's own procedure then answers.
LRESULT AfxLresultFromDescribedObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const wchar_t* description);

// OLE Automation's string allocator (SysAllocString), which the reader frees.
using AllocStringFunction = BSTR(WINAPI*)(const OLECHAR* text);

// An object answering as inner does, but with description, a copy, as its own
// accDescription; hwnd is its window. It holds a reference to inner until its
// own last Release, and starts with one reference for the caller.
IAccessible* CreateDescribedAccessible(IAccessible* inner, HWND hwnd, const wchar_t* description,
                                       AllocStringFunction allocString);
