#pragma once
// Starting programs and documents through the shell.
#include <windows.h>

// Asks the shell to open path with its default verb (a program runs, a document
// opens in its viewer) and, if a process came back, waits for it to end while
// dispatching this thread's messages. owner owns any window the shell shows.
// False if the shell refused the target.
bool LaunchAndWait(const wchar_t* path, HWND owner);

// Asks the shell to open path as LaunchAndWait does, but does not wait for the
// process it starts. False if the shell refused the target.
bool Launch(const wchar_t* path, HWND owner);

// Waits for process to end, dispatching this thread's messages meanwhile: true
// once it has. Leaves early, with false, if the wait fails, or when a WM_QUIT
// arrives, which it posts again so the outer loop still sees it.
bool WaitDispatchingMessages(HANDLE process);

// Opens folder in the shell's file browser; failures are not reported.
void OpenFolder(const wchar_t* folder);
