#pragma once
// Lengths are designed in pixels at 96 DPI and scaled where they are used.

// n design pixels at dpi dots per inch, rounded to the nearest pixel (halves away
// from zero, as MulDiv does).
int ScaleLength(int n, int dpi);

// n design pixels on this screen: the screen's DPI is read afresh on each call;
// without a screen device context n comes back unscaled.
int ScaleForDpi(int n);
