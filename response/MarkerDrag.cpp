#include "response/MarkerDrag.h"

#include "model/NearestIndex.h"
#include "model/ValueTables.h"

namespace m7410 {

int MarkerDrag::hitRow(const ResponseCurves& curves, int channel, int x, int y) {
    if (channel < 0 || channel >= ChannelCount) return -1;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const MarkerPosition m = curves.marker(bandAddress(channel, row));
        if (m.x - HitRadius < x && x < m.x + HitRadius && m.y - HitRadius < y &&
            y < m.y + HitRadius)
            return row;
    }
    return -1;
}

int MarkerDrag::freqIndexAt(int x) const {
    return nearestIndex(FreqTable, graph.columnFrequency(x));
}

int MarkerDrag::gainIndexAt(int y) const {
    const double dB = 15.0 - static_cast<double>(y - 18) / (graph.height() - 42) * 45.0;
    return nearestIndex(EqGainTable, dB);
}

} // namespace m7410
