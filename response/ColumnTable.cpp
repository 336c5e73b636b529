#include "response/ColumnTable.h"

#include "response/ResponseConstants.h"

#include <cmath>

namespace m7410 {

ColumnTable::ColumnTable(const GraphGeometry& geometry) : count(geometry.columnCount()) {
    for (int i = 0; i < count; ++i) {
        const double f = geometry.columnFrequency(GraphGeometry::firstColumn + i);
        const double w = ColumnTwoPi * f / SampleRate;
        crossoverCos[i] = std::cos(w);
        crossoverSin[i] = std::sin(w);
        const double wp = PeakingTwoPi * f / SampleRate;
        peakingCos[i] = std::cos(wp);
        peakingSin[i] = std::sin(wp);
    }
}

} // namespace m7410
