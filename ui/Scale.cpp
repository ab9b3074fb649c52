#include "Scale.h"

#include "framework/Gdi.h"

#include <windows.h>

namespace {
constexpr int kDesignDpi = 96;
}

int ScaleLength(int n, int dpi) {
    return ::MulDiv(n, dpi, kDesignDpi);
}

int ScaleForDpi(int n) {
    CClientDC screen(nullptr);
    if (screen.GetSafeHdc() == nullptr) {
        return n;
    }
    return ScaleLength(n, ::GetDeviceCaps(screen.GetSafeHdc(), LOGPIXELSY));
}
