#pragma once
// Starting programs and documents through the shell.
#include "framework/Dialog.h"

#include <windows.h>

// Asks the shell to open path with its default verb (a program runs, a document
// opens in its viewer) and, if a process came back, waits for it to end in
// owner's modal loop, so the dialog works meanwhile as it does outside a wait;
// end says whether the dialog's end also ends the wait (the process runs on).
// owner also owns any window the shell shows. False if the shell refused the
// target.
bool LaunchAndWait(const wchar_t* path, CDialog& owner, WaitEnd end = WaitEnd::Signalled);

// Asks the shell to open path as LaunchAndWait does, but does not wait for the
// process it starts. False if the shell refused the target.
bool Launch(const wchar_t* path, HWND owner);

// Opens folder in the shell's file browser; failures are not reported.
void OpenFolder(const wchar_t* folder);
