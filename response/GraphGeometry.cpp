#include "response/GraphGeometry.h"

#include <algorithm>
#include <cmath>

namespace m7410 {

namespace {

constexpr int MinWidth = 100;
constexpr int MaxWidth = CurveCapacity + 48;
constexpr int MinHeight = 60;
constexpr int MaxHeight = 4000;
// Rows further out than this are off any picture anyway; clamping keeps the int conversion
// defined for huge, infinite or NaN levels.
constexpr double RowLimit = 1.0e6;

int truncToInt(double v) {
    if (std::isnan(v)) return static_cast<int>(RowLimit);
    return static_cast<int>(std::clamp(v, -RowLimit, RowLimit));
}

} // namespace

GraphGeometry::GraphGeometry(int width, int height)
    : graphWidth(std::clamp(width, MinWidth, MaxWidth)),
      graphHeight(std::clamp(height, MinHeight, MaxHeight)),
      leftMargin(static_cast<int>(0.09 * (graphWidth - 46))),
      rightMargin(static_cast<int>(0.05 * (graphWidth - 46))) {}

double GraphGeometry::columnFrequency(int x) const {
    return 20.0 * std::pow(10.0, 3.0 * (x - leftMargin - 41) / curveSpan());
}

int GraphGeometry::markerColumn(double hz) const {
    return truncToInt(std::log10(hz / 20.0) * curveSpan() / 3.0 + 41 + leftMargin);
}

int GraphGeometry::levelToRow(double dB) const {
    return truncToInt((15.0 - dB) / 45.0 * (graphHeight - 38) + 16.0);
}

double GraphGeometry::markerGain(int y) const {
    return std::trunc((15.0 - static_cast<double>(y - 16) / (graphHeight - 38) * 45.0) * 10.0) /
           10.0;
}

int GraphGeometry::gridRow(int j) const {
    return static_cast<int>(static_cast<double>(graphHeight - 40) / 9.0 * j) + 17;
}

int GraphGeometry::gridColumn(double hz) const {
    return truncToInt(std::log10(hz / 20.0) * (graphWidth - leftMargin - rightMargin - 47) / 3.0) +
           leftMargin + 41;
}

} // namespace m7410
