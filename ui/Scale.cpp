#include "Scale.h"

#include "framework/Gdi.h"

#include <windows.h>

namespace {

constexpr int kDesignDpi = 96;

int ScreenDpi() {
    // The process is system-DPI aware (its manifest): Windows shows it one DPI
    // for its whole life, so the screen is asked once.
    static int dpi = 0;
    if (dpi == 0) {
        CClientDC screen(nullptr);
        dpi = screen.GetSafeHdc() != nullptr ? ::GetDeviceCaps(screen.GetSafeHdc(), LOGPIXELSY) : kDesignDpi;
    }
    return dpi;
}

}  // namespace

int ScaleLength(int n, int dpi) {
    return ::MulDiv(n, dpi, kDesignDpi);
}

int ScaleForDpi(int n) {
    return ScaleLength(n, ScreenDpi());
}
