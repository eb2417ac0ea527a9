#pragma once

namespace pln {

struct tAxisRange {
    double minimum = 0;
    double maximum = 0;
};

// The rectangle of a chart inside its axes, in pixels of the chart's widget,
// and the values the mouse points at in it.
struct tPlotArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    bool contains(double x, double y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
    // Where x lies across the area, 0 at its left edge.
    double ratioAt(double x) const { return right > left ? (x - left) / (right - left) : 0.0; }

    // The bottom-axis value under the pixel column x; the pixel counts as
    // covered, hence the one added.
    double bottomValueAt(const tAxisRange& axis, double x) const {
        return axis.minimum + (axis.maximum - axis.minimum) * ratioAt(x + 1);
    }
    // The left-axis value under the pixel row y.
    double leftValueAt(const tAxisRange& axis, double y) const {
        if (bottom <= top)
            return axis.maximum;
        return axis.maximum - (axis.maximum - axis.minimum) * (y - top - 1) / (bottom - top);
    }
};

} // namespace pln
