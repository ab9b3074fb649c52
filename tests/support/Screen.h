#pragma once
// What is on the screen, and the screen's DPI.
#include <windows.h>

#include <vector>

namespace testing_support {

inline int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// n design pixels at the screen's DPI, rounded as the launcher rounds them.
inline int Scale(int n) {
    return ::MulDiv(n, ScreenDpi(), 96);
}

// A 32-bit bitmap of width by height whose rows run top to bottom, as
// CreateDIBSection takes it.
inline BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

// The pixels of a rectangle of a device context, as 32-bit colours, row by row.
inline std::vector<DWORD> Capture(HDC source, int x, int y, int width, int height) {
    const BITMAPINFO info = TopDownBitmapInfo(width, height);
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

inline std::vector<DWORD> CaptureScreen(int x, int y, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    std::vector<DWORD> pixels = Capture(screen, x, y, width, height);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

inline COLORREF ScreenPixel(POINT at) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

}  // namespace testing_support
