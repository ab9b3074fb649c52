#include "framework/Gdi.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

HFONT MakeFont() {
    return ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
}

TEST(GdiTest, AnOwnedObjectIsDeletedOnceByWhoeverHoldsItLast) {
    HFONT handle = MakeFont();
    ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), ::GetObjectType(handle));
    {
        CFont first;
        first.Attach(handle);
        CFont second = std::move(first);
        EXPECT_EQ(nullptr, first.GetSafeHandle());
        EXPECT_EQ(handle, second.GetSafeHandle());
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), ::GetObjectType(handle)) << "moving must not delete";
    }
    EXPECT_EQ(0u, ::GetObjectType(handle)) << "the last owner deletes it";
}

TEST(GdiTest, SelectionIsUndoneWhenTheScopeEnds) {
    CMemoryDC dc(nullptr);
    ASSERT_NE(nullptr, dc.GetSafeHdc());
    HGDIOBJ original = ::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT);
    CFont font;
    font.Attach(MakeFont());
    {
        CSelectObject selection(dc.GetSafeHdc(), font.GetSafeHandle());
        EXPECT_EQ(font.GetSafeHandle(), ::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT));
    }
    EXPECT_EQ(original, ::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT));
}

TEST(GdiTest, AWindowDcIsReleasedToItsWindow) {
    HDC held = nullptr;
    {
        CClientDC screen(nullptr);
        held = screen.GetSafeHdc();
        ASSERT_NE(nullptr, held);
    }
    // A released common DC no longer answers as a device context of the screen.
    EXPECT_EQ(0, ::ReleaseDC(nullptr, held)) << "already released";
}

}  // namespace
