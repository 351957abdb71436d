#include "core/SeparatorMath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ombrisk {

float SeparatorPercent(double ratio) {
    const double v = 100.0 * ratio;
    if (!std::isfinite(v)) return static_cast<float>(v);

    // Format "0.0" works on the decimal form with 15 significant digits, not on the binary
    // value: 100 * 0.5005 is 50.04999... in binary but formats as 50.1.
    char buf[40];
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[15];
    int n = 0;
    for (; p < written.ptr && *p != 'e'; ++p)
        if (*p != '.') digits[n++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), written.ptr, exponent);

    // Digits up to and including the first decimal place.
    const int keep = exponent + 2;
    if (keep >= n) {
        double exact = 0;
        std::from_chars(buf, written.ptr, exact);
        return static_cast<float>(exact);
    }
    uint64_t tenths = 0;
    for (int i = 0; i < keep; ++i) tenths = tenths * 10 + uint64_t(digits[i] - '0');
    if (keep >= 0 && digits[keep] >= '5') ++tenths;
    if (tenths == 0) return 0.0f;
    const double rounded = static_cast<double>(tenths) / 10.0;
    return static_cast<float>(negative ? -rounded : rounded);
}

long RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    const double floor = std::floor(value);
    const double fraction = value - floor;  // exact: value and floor are close
    double r = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) r = floor + 1.0;
    constexpr double kMin = static_cast<double>(std::numeric_limits<long>::min());
    // The largest long is not a double; 2^63 (or 2^31) is the first value past it.
    constexpr double kPastMax = -kMin;
    if (r < kMin) return std::numeric_limits<long>::min();
    if (r >= kPastMax) return std::numeric_limits<long>::max();
    return static_cast<long>(r);
}

void ToAbsoluteMouseCoords(long& x, long& y, int screenWidth, int screenHeight) {
    if (screenWidth > 0) x = RoundHalfEven(static_cast<double>(x) * (65535.0 / screenWidth));
    if (screenHeight > 0) y = RoundHalfEven(static_cast<double>(y) * (65535.0 / screenHeight));
}

long SeparatorEndX(double value, long clientWidth) {
    if (!(value >= 0.0)) value = 0.0;
    if (value > 100.0) value = 100.0;
    return RoundHalfEven(value / 100.0 * static_cast<double>(clientWidth) - 1.0);
}

namespace {

// n pixels at 96 dpi scaled to dpi, halves up.
long Scaled(long n, unsigned dpi) {
    if (dpi == 0) dpi = 96;
    return static_cast<long>((static_cast<long long>(n) * dpi + 48) / 96);
}

}  // namespace

long SeparatorMaxWidth(unsigned dpi) { return Scaled(4, dpi); }

PixelPoint ToVirtualDeskCoords(PixelPoint p, const PixelRect& desktop) {
    const long width = desktop.right - desktop.left, height = desktop.bottom - desktop.top;
    long x = p.x - desktop.left, y = p.y - desktop.top;
    ToAbsoluteMouseCoords(x, y, static_cast<int>(width), static_cast<int>(height));
    return {width > 0 ? x : p.x, height > 0 ? y : p.y};
}

SeparatorDrag PlanSeparatorDrag(const PixelRect& bar, long clientLeft, long clientWidth, double percent, unsigned dpi,
                                long doubleClickHeight) {
    const long width = bar.right - bar.left, height = bar.bottom - bar.top;
    const long into = std::min(Scaled(2, dpi), std::max(width - 1, 0L));
    const PixelPoint press{bar.left + into, bar.top + std::max(height, 0L) / 15};
    const PixelPoint release{clientLeft + SeparatorEndX(percent, clientWidth),
                             press.y + Scaled(std::max(doubleClickHeight, 0L), dpi) + 1};
    return {press, release};
}

}  // namespace ombrisk
