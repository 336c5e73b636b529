// The pointer maths of dragging an EQ band marker, without a widget.
#pragma once

#include "response/GraphGeometry.h"
#include "response/ResponseCurves.h"

namespace m7410 {

// The pointer maths of dragging an EQ band marker on the graph, without any widget: which
// marker a press takes, where a move puts it, and the table indexes its position stands for.
class MarkerDrag {
public:
    // A press within this many pixels of a marker's centre (exclusive) takes it.
    static constexpr int HitRadius = 8;
    // The marker follows the pointer only inside these columns and rows of the 720 x 249
    // picture: from just left of the 20 Hz line to beyond 20 kHz, from +12 dB to -24 dB.
    static constexpr int FirstColumn = 97;
    static constexpr int LastColumn = 689;
    static constexpr int TopRow = 32;
    static constexpr int BottomRow = 198;

    explicit MarkerDrag(const GraphGeometry& geometry) : graph(geometry) {}

    // Row 0..5 of the first of the channel's markers the point hits, or -1 for none.
    static int hitRow(const ResponseCurves& curves, int channel, int x, int y);

    static bool columnFollows(int x) { return x >= FirstColumn && x <= LastColumn; }
    static bool rowFollows(int y) { return y >= TopRow && y <= BottomRow; }

    // FreqTable index of the frequency a marker column stands for.
    int freqIndexAt(int x) const;
    // EqGainTable index of the gain a marker row stands for. The row-to-gain mapping of a drag
    // is not quite the inverse of the gain-to-row mapping of a drawn marker.
    int gainIndexAt(int y) const;

private:
    GraphGeometry graph;
};

} // namespace m7410
