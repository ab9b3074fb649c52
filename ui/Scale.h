#pragma once
// Lengths are designed in pixels at 96 DPI and scaled where they are used.
#include <windows.h>

// The scale lengths are laid out at: numerator / denominator.
struct LayoutScale {
    int numerator;
    int denominator;
};

// n design pixels at dpi dots per inch, rounded to the nearest pixel (halves away
// from zero, as MulDiv does).
int ScaleLength(int n, int dpi);

// The screen's scale (dpi / 96), unless a window of design pixels with frame
// pixels around it would not fit area at it: then the largest scale at which it
// does, so that the whole window can be seen.
LayoutScale FitLayoutScale(int dpi, SIZE design, SIZE frame, SIZE area);

// n design pixels on this screen, each length scaled and rounded on its own: at
// the screen's DPI, read on the first call (a system-DPI-aware process sees one
// DPI for its whole life; 96 if the screen cannot be read), or at the scale
// FitLayoutTo chose.
int ScaleForDpi(int n);

// From now on ScaleForDpi lays lengths out at the largest scale, no larger than
// the screen's, at which design plus frame fits area (FitLayoutScale).
void FitLayoutTo(SIZE design, SIZE frame, SIZE area);
