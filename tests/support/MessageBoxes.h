#pragma once
// Message boxes of another process: found, read and closed.
#include "Wait.h"
#include "WindowLookup.h"
#include "Files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// A visible message box of the thread (a dialog that is not the launcher), or null.
inline HWND FindMessageBox(DWORD thread) {
    for (HWND hwnd : ThreadWindows(thread)) {
        if (IsDialog(hwnd) && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, IDC_MANUAL) == nullptr) {
            return hwnd;
        }
    }
    return nullptr;
}

inline std::wstring MessageBoxText(HWND box) {
    HWND text = ::GetDlgItem(box, 0xFFFF);
    return text != nullptr ? WindowText(text) : L"";
}

inline void CloseMessageBox(HWND box) {
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Waits for a message box of the thread with this text, closing any other box
// (the shell's own error box) first; closes it and checks its caption, its owner
// and that OK is its only button.
inline ::testing::AssertionResult ExpectMessageBox(DWORD thread, const std::wstring& text,
                                                   const std::wstring& caption, HWND owner) {
    HWND box = nullptr;
    const bool found = WaitUntil([&] {
        box = FindMessageBox(thread);
        if (box == nullptr) return false;
        if (MessageBoxText(box) == text) return true;
        CloseMessageBox(box);
        ::Sleep(200);
        return false;
    });
    if (!found) return ::testing::AssertionFailure() << "no message box \"" << Utf8(text) << "\"";
    const std::wstring shownCaption = WindowText(box);
    const HWND shownOwner = ::GetWindow(box, GW_OWNER);
    const bool onlyOk = ::GetDlgItem(box, IDOK) != nullptr && ::GetDlgItem(box, IDCANCEL) == nullptr;
    CloseMessageBox(box);
    WaitUntil([&] { return !::IsWindow(box); });
    if (shownCaption != caption) return ::testing::AssertionFailure() << "caption " << Utf8(shownCaption);
    if (shownOwner != owner) return ::testing::AssertionFailure() << "not owned by the launcher";
    if (!onlyOk) return ::testing::AssertionFailure() << "buttons other than OK";
    return ::testing::AssertionSuccess();
}

}  // namespace testing_support
