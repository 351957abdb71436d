// Number rules of the panel-separator property: the percentage it reads, the absolute mouse
// coordinates of the drag and the drag's end point. Portable and pure; the Win32 shell reads
// the window rectangles and screen metrics and sends the mouse events.
#pragma once

namespace ombrisk {

// 100 * ratio formatted with one decimal (taken from its first 15 significant digits, as the
// platform's number formatting keeps them; halves away from zero), then read back as a single.
// 0.5 gives 50.0f, 0.5005 gives 50.1f. NaN and infinities pass through as floats.
float SeparatorPercent(double ratio);

// Nearest integer, halves to the even neighbour (399.5 -> 400, 398.5 -> 398). Out-of-range values
// saturate at the limits of long; NaN gives 0. Independent of the floating-point rounding mode.
long RoundHalfEven(double value);

// Converts a screen pixel in place to mouse_event's absolute 0..65535 range:
// RoundHalfEven(x * (65535.0 / screenWidth)), likewise y. A size <= 0 leaves that coordinate.
void ToAbsoluteMouseCoords(long& x, long& y, int screenWidth, int screenHeight);

// Client x where a drag to `value` percent ends: RoundHalfEven(value / 100 * clientWidth - 1),
// with value first clamped to 0..100 as the property does (NaN counts as 0).
long SeparatorEndX(double value, long clientWidth);

}  // namespace ombrisk
