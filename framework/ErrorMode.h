#pragma once
// CNoDiskPrompt: while one lives, a file call of this thread on a drive with no
// disc in it fails with an error instead of Windows asking the user to insert a
// disk, so the caller can say what is missing in its own words.
#include <windows.h>

class CNoDiskPrompt {
public:
    CNoDiskPrompt();
    ~CNoDiskPrompt();
    CNoDiskPrompt(const CNoDiskPrompt&) = delete;
    CNoDiskPrompt& operator=(const CNoDiskPrompt&) = delete;

private:
    using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, DWORD*);

    DWORD m_previous = 0;
    SetThreadErrorModeFn m_setThreadMode = nullptr;  // null: the process-wide mode was set
};
