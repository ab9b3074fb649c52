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

TEST(ScaleForDpiTest, FollowsTheScreensDpi) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(ScaleLength(386, dpi), ScaleForDpi(386));
    EXPECT_EQ(ScaleLength(-12, dpi), ScaleForDpi(-12));
}

}  // namespace
