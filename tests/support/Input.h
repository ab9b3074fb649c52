#pragma once
// Real input, as from the keyboard and the mouse.
#include "Wait.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

// Presses the keys in order, then releases them in reverse order.
inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Moves the pointer to point (screen coordinates) with the button flags given.
inline void SendMouse(DWORD flags, POINT point) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = ::MulDiv(point.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = ::MulDiv(point.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(INPUT));
}

inline bool PointerIsAt(POINT point) {
    POINT at;
    return ::GetCursorPos(&at) && at.x == point.x && at.y == point.y;
}

// Moves the pointer to point and waits until it is there.
inline void MoveTo(POINT point) {
    SendMouse(0, point);
    WaitUntil([&] { return PointerIsAt(point); }, 2000);
}

// Moves the pointer to point, then presses and releases the left button.
inline void ClickAt(POINT point) {
    MoveTo(point);
    SendMouse(MOUSEEVENTF_LEFTDOWN, point);
    SendMouse(MOUSEEVENTF_LEFTUP, point);
}

// The centre of a window on screen, offsetX pixels to its right.
inline POINT CentreOf(HWND hwnd, int offsetX = 0) {
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    return {(rect.left + rect.right) / 2 + offsetX, (rect.top + rect.bottom) / 2};
}

// Moves the X server's pointer itself, as a mouse does, with xdotool: Wine then
// sees the move as it sees a real one (hover tracking included).
inline void MovePointer(POINT to) {
    std::wstring command = L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(to.x) + L" " + std::to_wstring(to.y);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ::WaitForSingleObject(pi.hProcess, kPatienceMs);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    WaitUntil([&] { return PointerIsAt(to); }, 2000);
}

}  // namespace testing_support
