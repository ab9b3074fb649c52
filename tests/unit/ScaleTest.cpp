#include "ui/Scale.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct ScaleCase {
    int dpi;
    int design;
    int scaled;
};

class ScaleLengthTest : public ::testing::TestWithParam<ScaleCase> {};

// Each length is rounded on its own, halves away from zero.
TEST_P(ScaleLengthTest, RoundsToTheNearestPixel) {
    EXPECT_EQ(GetParam().scaled, ScaleLength(GetParam().design, GetParam().dpi));
}

INSTANTIATE_TEST_SUITE_P(Lengths, ScaleLengthTest, ::testing::Values(
    ScaleCase{96, 386, 386}, ScaleCase{96, -12, -12},
    ScaleCase{120, 640, 800}, ScaleCase{120, 400, 500}, ScaleCase{120, 386, 483},  // 482.5
    ScaleCase{120, 240, 300}, ScaleCase{120, 35, 44},                              // 43.75
    ScaleCase{120, 60, 75}, ScaleCase{120, 105, 131}, ScaleCase{120, 195, 244},
    ScaleCase{120, 250, 313},                                                      // 312.5
    ScaleCase{120, -12, -15}, ScaleCase{120, -10, -13},                            // -12.5
    ScaleCase{144, 640, 960}, ScaleCase{144, 35, 53}, ScaleCase{144, 105, 158},
    ScaleCase{144, -12, -18}, ScaleCase{144, -13, -20}, ScaleCase{144, 1, 2}),
    [](const auto& param) {
        const ScaleCase& c = param.param;
        return std::to_string(c.dpi) + "dpi_" + (c.design < 0 ? "minus" : "") + std::to_string(std::abs(c.design));
    });

struct FitCase {
    const char* name;
    int dpi;
    SIZE area;
    LayoutScale scale;
};

class FitLayoutScaleTest : public ::testing::TestWithParam<FitCase> {};

// The picture of 640 by 400 in a frame of 6 by 6: the screen's scale where that
// fits, else the largest that does, each length still rounded on its own.
TEST_P(FitLayoutScaleTest, IsTheScreensWhereItFitsAndTheLargestThatFitsElsewhere) {
    const FitCase& c = GetParam();
    const SIZE design = {640, 400};
    const SIZE frame = {6, 6};
    const LayoutScale scale = FitLayoutScale(c.dpi, design, frame, c.area);
    EXPECT_EQ(c.scale.numerator, scale.numerator);
    EXPECT_EQ(c.scale.denominator, scale.denominator);
    if (c.area.cx > frame.cx && c.area.cy > frame.cy) {
        EXPECT_LE(frame.cx + ::MulDiv(design.cx, scale.numerator, scale.denominator), c.area.cx);
        EXPECT_LE(frame.cy + ::MulDiv(design.cy, scale.numerator, scale.denominator), c.area.cy);
    }
}

INSTANTIATE_TEST_SUITE_P(Areas, FitLayoutScaleTest, ::testing::Values(
    FitCase{"fits_at_96", 96, {1024, 768}, {96, 96}},
    FitCase{"fits_at_120", 120, {1024, 768}, {120, 96}},
    FitCase{"fits_exactly_at_120", 120, {806, 506}, {120, 96}},
    FitCase{"fits_exactly_once_rounded_at_110", 110, {739, 464}, {110, 96}},  // 733.3 by 458.3
    FitCase{"a_pixel_too_narrow_at_120", 120, {805, 506}, {799, 640}},   // 799 by 499
    FitCase{"short_screen_at_120", 120, {800, 480}, {474, 400}},         // 758 by 474
    FitCase{"short_work_area_at_120", 120, {800, 450}, {444, 400}},      // 710 by 444
    FitCase{"narrow_screen_at_144", 144, {800, 600}, {794, 640}},        // 794 by 496
    FitCase{"small_work_area_at_96", 96, {800, 450}, {96, 96}},
    FitCase{"smaller_than_the_frame", 120, {4, 4}, {120, 96}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ScaleForDpiTest, FollowsTheScreensDpi) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(ScaleLength(386, dpi), ScaleForDpi(386));
    EXPECT_EQ(ScaleLength(-12, dpi), ScaleForDpi(-12));
}

}  // namespace
