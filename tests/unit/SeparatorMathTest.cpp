#include "core/SeparatorMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ombrisk {
namespace {

TEST(SeparatorPercentTest, OneDecimalHalvesAwayFromZero) {
    const struct {
        double ratio;
        float expected;
    } cases[] = {
        {(498.0 + 2.0) / 1000.0, 50.0f},  // client width 1000, separator at client x 498
        {0.5, 50.0f},
        {1.0, 100.0f},
        {0.0, 0.0f},
        {1.0 / 3.0, 33.3f},
        {2.0 / 3.0, 66.7f},
        {0.12345, 12.3f},
        {0.12351, 12.4f},
        {0.5005, 50.1f},  // 50.0499999... in binary, 50.05 in 15 digits: rounds up
        {0.50049999, 50.0f},
        {0.9995, 100.0f},
        {0.0005, 0.1f},  // 0.05
        {0.00049, 0.0f},
        {0.0000001, 0.0f},
        {-0.0005, -0.1f},  // away from zero on the negative side too
        {-0.25, -25.0f},
        {12.3456, 1234.6f},
        {1e13, 1e15f},
    };
    for (const auto& c : cases) EXPECT_EQ(SeparatorPercent(c.ratio), c.expected) << c.ratio;
    EXPECT_TRUE(std::isnan(SeparatorPercent(std::nan(""))));
    EXPECT_EQ(SeparatorPercent(std::numeric_limits<double>::infinity()), std::numeric_limits<float>::infinity());
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        long expected;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {399.5, 400},
        {398.5, 398},
        {2.4999999999999996, 2},
        {0.49999999999999994, 0},
        {-0.49999999999999994, 0},
        {2.5000000000000004, 3},
        {-7.2, -7},
        {-7.8, -8},
        {1e300, std::numeric_limits<long>::max()},
        {-1e300, std::numeric_limits<long>::min()},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

TEST(ToAbsoluteMouseCoordsTest, ScalesToThe65535Range) {
    const struct {
        long x, y;
        int width, height;
        long ax, ay;
    } cases[] = {
        {0, 0, 1920, 1080, 0, 0},
        {1919, 1079, 1920, 1080, 65501, 65474},
        {960, 0, 1920, 1080, 32768, 0},  // 32767.5, halves to even
        {1, 1, 1024, 768, 64, 85},
        {-10, 2000, 1920, 1080, -341, 121361},  // off-screen points are scaled all the same
        {5, 7, 0, -1, 5, 7},                    // a useless screen size leaves the point
    };
    for (const auto& c : cases) {
        long x = c.x, y = c.y;
        ToAbsoluteMouseCoords(x, y, c.width, c.height);
        EXPECT_EQ(x, c.ax) << c.x << "," << c.y;
        EXPECT_EQ(y, c.ay) << c.x << "," << c.y;
    }
}

TEST(SeparatorEndXTest, PercentOfClientWidthMinusOne) {
    const struct {
        double value;
        long width, expected;
    } cases[] = {
        {50, 801, 400},                                        // 399.5 halves to even
        {50, 803, 400},                                        // 400.5 halves to even
        {50, 1000, 499}, {100, 1000, 999},  {150, 1000, 999},  // clamped to 100
        {-5, 1000, -1},                                        // clamped to 0
        {0, 1000, -1},   {33.3, 1000, 332}, {std::nan(""), 1000, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(SeparatorEndX(c.value, c.width), c.expected) << c.value << " of " << c.width;
}

TEST(SeparatorMaxWidthTest, FourPixelsAtTheMonitorScale) {
    const struct {
        unsigned dpi;
        long expected;
    } cases[] = {{0, 4}, {96, 4}, {120, 5}, {144, 6}, {168, 7}, {192, 8}};
    for (const auto& c : cases) EXPECT_EQ(SeparatorMaxWidth(c.dpi), c.expected) << c.dpi;
}

TEST(ToVirtualDeskCoordsTest, SpreadsOverEveryMonitor) {
    const struct {
        PixelPoint p;
        PixelRect desktop;
        long ax, ay;
    } cases[] = {
        {{960, 0}, {0, 0, 1920, 1080}, 32768, 0},             // one monitor: as before
        {{2880, 540}, {0, 0, 3840, 1080}, 49151, 32768},      // a second monitor on the right
        {{-960, 540}, {-1920, 0, 1920, 1080}, 16384, 32768},  // one on the left: negative x
        {{0, -540}, {0, -1080, 1920, 1080}, 0, 16384},        // one above: negative y
        {{7, 9}, {0, 0, 0, 0}, 7, 9},                         // a desktop without area leaves it
    };
    for (const auto& c : cases) {
        const PixelPoint a = ToVirtualDeskCoords(c.p, c.desktop);
        EXPECT_EQ(a.x, c.ax) << c.p.x << "," << c.p.y;
        EXPECT_EQ(a.y, c.ay) << c.p.x << "," << c.p.y;
    }
}

TEST(PlanSeparatorDragTest, PressesInTheBarAndReleasesApartFromThePress) {
    const struct {
        PixelRect bar;
        long clientLeft, clientWidth;
        double percent;
        unsigned dpi;
        long press[2], release[2];
    } cases[] = {
        {{538, 40, 541, 600}, 40, 1000, 30, 96, {540, 77}, {339, 82}},                     // 100 %
        {{-1200, -1000, -1194, -100}, -1700, 1500, 50, 144, {-1197, -940}, {-951, -933}},  // above and left, 150 %
        {{2500, 0, 2505, 750}, 2000, 1000, 100, 120, {2503, 50}, {2999, 56}},              // second monitor, 125 %
        {{100, 200, 108, 1800}, 0, 2000, -5, 192, {104, 306}, {-1, 315}},                  // 200 %
        {{500, 0, 501, 300}, 0, 1000, 50, 96, {500, 20}, {499, 25}},                       // a 1-pixel bar
    };
    for (const auto& c : cases) {
        const SeparatorDrag d = PlanSeparatorDrag(c.bar, c.clientLeft, c.clientWidth, c.percent, c.dpi, 4);
        EXPECT_EQ(d.press.x, c.press[0]) << c.bar.left << " at " << c.dpi;
        EXPECT_EQ(d.press.y, c.press[1]) << c.bar.left << " at " << c.dpi;
        EXPECT_EQ(d.release.x, c.release[0]) << c.bar.left << " at " << c.dpi;
        EXPECT_EQ(d.release.y, c.release[1]) << c.bar.left << " at " << c.dpi;
    }
}

}  // namespace
}  // namespace ombrisk
