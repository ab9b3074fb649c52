#pragma once
// One menu per disc: a launcher started while another from the same executable
// on the same disc runs in the same session hands over to it (shows its menu,
// in front) and ends. A launcher from another folder, or from another disc in
// the same drive, is another disc's, and its own menu.
#include "framework/Handle.h"
#include "framework/String.h"

#include <windows.h>

// The name of the session-wide objects that stand for the launcher at
// modulePath on the volume with volumeSerial: the same for two spellings of the
// path that differ only in case, different for different paths or volumes.
// Object names may not hold a backslash and are limited in length, so the path
// goes in as a hash.
CString InstanceObjectName(const wchar_t* modulePath, DWORD volumeSerial);

// InstanceObjectName for the executable at modulePath as it lies now: its long
// path (a short 8.3 spelling is the same launcher) and its volume's serial.
CString InstanceObjectNameOf(const wchar_t* modulePath);

// What the menu answers its disc's show-menu message with; windows that do not
// know the message answer 0.
constexpr LRESULT kShowMenuAnswer = 0x756E656D;  // "menu"

class CSingleInstance {
public:
    // Claims the menu for the running executable; true if this process is to
    // show it. False when another process has it: its menu (or the message it
    // shows) has been shown in front, and this one should end. A first launcher
    // still starting is given up to waitMs to show its window; if it ends
    // meanwhile, this one takes over.
    bool Claim(DWORD waitMs = kDefaultWaitMs);

    // The message a launcher of this disc started again sends the menu, so that
    // it shows (again) and answers kShowMenuAnswer; registered by Claim.
    UINT ShowMenuMessage() const { return m_nShowMenuMessage; }

    static constexpr DWORD kDefaultWaitMs = 10000;

private:
    // Publishes this process as the menu's owner.
    void PublishOwner();
    DWORD PublishedOwner() const;

    CHandle m_mutex;    // owned while this process has the menu
    CHandle m_mapping;  // the owner's process ID
    UINT m_nShowMenuMessage = 0;
};

// Asks the menu in process owner to show itself, with the show-menu message of
// this disc, and brings the process's visible window to the front (the menu, or
// the box it shows). False, bringing nothing forward, when no window of owner
// answers as this disc's menu (the ID is another program's now) or it shows no
// window yet (it is still starting).
bool ShowOwnersMenu(DWORD owner, UINT showMenuMessage);

// Brings the visible top-level window of process to the front, restored if
// minimised (its message box, if it shows one); false if it has none yet.
bool BringProcessWindowToFront(DWORD process);
