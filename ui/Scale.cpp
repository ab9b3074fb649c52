#include "Scale.h"

#include "framework/Gdi.h"

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

// Zero until the layout is fitted: the screen's scale.
LayoutScale g_fitted = {0, kDesignDpi};

// Whether room pixels are fewer than a length laid out at scale, rounded to the
// nearest pixel as ScaleForDpi rounds it (the window the layout would make): the
// length is then at least room and a half. Multiplied out in 64 bits, no scale
// overflows, and no division calls into a runtime.
bool TooSmall(int room, int length, LayoutScale scale) {
    return 2LL * length * scale.numerator >= (2LL * room + 1) * scale.denominator;
}

}  // namespace

int ScaleLength(int n, int dpi) {
    return ::MulDiv(n, dpi, kDesignDpi);
}

LayoutScale FitLayoutScale(int dpi, SIZE design, SIZE frame, SIZE area) {
    LayoutScale scale = {dpi, kDesignDpi};
    const int roomX = area.cx - frame.cx;
    const int roomY = area.cy - frame.cy;
    if (roomX <= 0 || roomY <= 0 || design.cx <= 0 || design.cy <= 0) {
        return scale;  // nothing would fit: shrinking would only hide more
    }
    // At room / design the limiting side fills its room exactly; the other, being
    // smaller than its room plus half a pixel before rounding, is at most its room
    // after.
    if (TooSmall(roomX, design.cx, scale)) {
        scale = {roomX, design.cx};
    }
    if (TooSmall(roomY, design.cy, scale)) {
        scale = {roomY, design.cy};
    }
    return scale;
}

int ScaleForDpi(int n) {
    if (g_fitted.numerator != 0) {
        return ::MulDiv(n, g_fitted.numerator, g_fitted.denominator);
    }
    return ScaleLength(n, ScreenDpi());
}

void FitLayoutTo(SIZE design, SIZE frame, SIZE area) {
    g_fitted = FitLayoutScale(ScreenDpi(), design, frame, area);
}
