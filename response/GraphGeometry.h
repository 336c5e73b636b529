// Pixel geometry of the response graph and the mappings to frequency and level.
#pragma once

// Pixel geometry of the response graph and the mappings between pixels, frequencies and
// levels. Every mapping truncates toward zero, as the drawn picture requires.
namespace m7410 {

// Columns a curve array can hold; widths beyond this are clamped.
inline constexpr int CurveCapacity = 793;
inline constexpr int GraphDefaultWidth = 720;
inline constexpr int GraphDefaultHeight = 249;

class GraphGeometry {
public:
    // Sizes outside what the curve arrays and the mappings can hold are clamped.
    explicit GraphGeometry(int width = GraphDefaultWidth, int height = GraphDefaultHeight);

    int width() const { return graphWidth; }
    int height() const { return graphHeight; }
    int left() const { return leftMargin; }
    int right() const { return rightMargin; }

    // Curve columns run from x = firstColumn to lastColumn(); array index i = x - firstColumn.
    static constexpr int firstColumn = 42;
    int lastColumn() const { return graphWidth - 7; }
    int columnCount() const { return graphWidth - 48; }

    // Plot frame corners.
    static constexpr int frameLeft = 41;
    static constexpr int frameTop = 17;
    int frameRight() const { return graphWidth - 6; }
    int frameBottom() const { return graphHeight - 24; }

    // Frequency of pixel column x: the curve columns, and the frequency a marker stands for.
    double columnFrequency(int x) const;
    // Marker column of a frequency (inverse of columnFrequency, truncated).
    int markerColumn(double hz) const;
    // Pixel row of a level in dB; also the marker row of a gain. Not limited to the frame, but
    // kept within a range that stays safe for integer drawing code (NaN goes to the bottom).
    int levelToRow(double dB) const;
    // Gain a marker row stands for when its band is computed: 0.1 dB steps, truncated.
    double markerGain(int y) const;

    // Horizontal grid line j = 1..8 and the vertical grid line of a frequency. The grid uses 47
    // where the curve mapping uses 46, so grid and marker columns may differ by a pixel.
    int gridRow(int j) const;
    int gridColumn(double hz) const;

    bool operator==(const GraphGeometry&) const = default;

private:
    int graphWidth;
    int graphHeight;
    int leftMargin;
    int rightMargin;

    // Denominator of the curve and marker frequency mapping.
    int curveSpan() const { return graphWidth - leftMargin - rightMargin - 46; }
};

} // namespace m7410
