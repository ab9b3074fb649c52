#pragma once
// Lengths are designed in pixels at 96 DPI and scaled where they are used.

// n design pixels at dpi dots per inch, rounded to the nearest pixel (halves away
// from zero, as MulDiv does).
int ScaleLength(int n, int dpi);

// n design pixels on this screen, each length scaled and rounded on its own. The
// screen's DPI is read on the first call (a system-DPI-aware process sees one DPI
// for its whole life); 96 if the screen cannot be read.
int ScaleForDpi(int n);
