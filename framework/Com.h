#pragma once
// COM on the window thread, started by the first call that needs it (the shell,
// a screen reader) rather than at start-up: most runs need it for one click or
// not at all. ole32 comes from System32.
#include <windows.h>

// Starts COM on this thread, once: a single-threaded apartment, as the shell and
// the objects given to screen readers have it, without the OLE1 DDE window.
// True while COM runs here.
bool AfxStartCom();

// Ends COM on this thread if AfxStartCom started it: the objects that screen
// readers or shell extensions still hold are let go. The framework's entry calls
// it once the windows are gone; a later AfxStartCom starts COM afresh.
void AfxEndCom();
