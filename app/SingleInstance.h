#pragma once
// One menu per disc: a launcher started while another from the same executable
// runs in the same session hands over to it (brings its menu to the front) and
// ends. A launcher from another folder is another disc's, and its own menu.
#include "framework/Handle.h"
#include "framework/String.h"

#include <windows.h>

// The name of the session-wide objects that stand for the launcher at
// modulePath: the same for two spellings of the path that differ only in case,
// different for different paths. Object names may not hold a backslash and are
// limited in length, so the path goes in as a hash.
CString InstanceObjectName(const wchar_t* modulePath);

class CSingleInstance {
public:
    // Claims the menu for the running executable; true if this process is to
    // show it. False when another process has it: its menu (or the message it
    // shows) has been brought to the front, and this one should end. A first
    // launcher still starting is given up to waitMs to show its window; if it
    // ends meanwhile, this one takes over.
    bool Claim(DWORD waitMs = kDefaultWaitMs);

    static constexpr DWORD kDefaultWaitMs = 10000;

private:
    // Publishes this process as the menu's owner.
    void PublishOwner();
    DWORD PublishedOwner() const;

    CHandle m_mutex;    // owned while this process has the menu
    CHandle m_mapping;  // the owner's process ID
};

// Brings the visible top-level window of process to the front, restored if
// minimised (its message box, if it shows one); false if it has none yet.
bool BringProcessWindowToFront(DWORD process);
