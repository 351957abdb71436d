// Number rules of the panel-separator property: the percentage it reads, the absolute mouse
// coordinates of the drag and the drag's points. Portable and pure; the Win32 shell reads the
// window rectangles, monitor scale and screen metrics (all in physical pixels) and sends the
// mouse events.
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

// A rectangle in screen pixels of the whole desktop (negative left of or above the primary
// monitor); right and bottom lie just outside it.
struct PixelRect {
    long left = 0, top = 0, right = 0, bottom = 0;
};

struct PixelPoint {
    long x = 0, y = 0;
};

// The widest a separator bar can be on a monitor of dpi dots per inch: 4 pixels at 96 (100 %),
// scaled and rounded half up (5 at 125 %, 6 at 150 %, 8 at 200 %). A dpi of 0 counts as 96.
long SeparatorMaxWidth(unsigned dpi);

// A desktop pixel in mouse_event's absolute 0..65535 range spread over the virtual desktop
// (MOUSEEVENTF_VIRTUALDESK): RoundHalfEven((x - desktop.left) * (65535.0 / width)), likewise y.
// A desktop without area leaves the point.
PixelPoint ToVirtualDeskCoords(PixelPoint p, const PixelRect& desktop);

// Where the drag of the bar (its screen rectangle) to `percent` of a client area clientWidth
// wide, whose left edge is at screen x clientLeft, presses and releases, in screen pixels.
// The press is 2 pixels (scaled to dpi, kept inside a narrower bar) into the bar and a
// fifteenth of its height down; the release is at client x SeparatorEndX(percent, clientWidth)
// and lower than the press by more than doubleClickHeight (the system's, scaled to dpi), so that the drag's two presses, and
// this drag's last press and the next drag's first, are never taken for a double-click.
struct SeparatorDrag {
    PixelPoint press, release;
};
SeparatorDrag PlanSeparatorDrag(const PixelRect& bar, long clientLeft, long clientWidth, double percent, unsigned dpi,
                                long doubleClickHeight);

// Client x where a drag to `value` percent ends: RoundHalfEven(value / 100 * clientWidth - 1),
// with value first clamped to 0..100 as the property does (NaN counts as 0).
long SeparatorEndX(double value, long clientWidth);

}  // namespace ombrisk
