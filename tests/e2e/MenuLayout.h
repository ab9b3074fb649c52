#pragma once
// Where the launcher's window puts its picture and buttons at one scale: every
// design length scaled and rounded on its own.
#include "ui/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

namespace e2e {

struct MenuLayout {
    SIZE client;
    int buttonX, buttonWidth, buttonHeight;
    int manualY, installY, openDiscY, exitY;
};

// Expects the client area of the launcher's dialog, and its four buttons in it,
// where expected has them.
inline void ExpectLaidOut(HWND dialog, const MenuLayout& expected) {
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(expected.client.cx, client.right);
    EXPECT_EQ(expected.client.cy, client.bottom);

    const std::pair<int, int> buttons[] = {{IDC_MANUAL, expected.manualY}, {IDC_INSTALL, expected.installY},
                                           {IDC_OPEN_DISC, expected.openDiscY}, {IDC_EXIT, expected.exitY}};
    for (const auto& [id, y] : buttons) {
        RECT rect;
        ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(expected.buttonX, rect.left) << id;
        EXPECT_EQ(y, rect.top) << id;
        EXPECT_EQ(expected.buttonWidth, rect.right - rect.left) << id;
        EXPECT_EQ(expected.buttonHeight, rect.bottom - rect.top) << id;
    }
}

}  // namespace e2e
