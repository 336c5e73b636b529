// Per-column values of the response graph that depend only on its geometry.
#pragma once

#include "response/GraphGeometry.h"

#include <array>

namespace m7410 {

// Per-column values that depend only on the geometry, never on a filter: the cosine and sine
// of the column's angular frequency, once with the crossover and shelf factor and once with
// the peaking band's own factor. Computing them once takes the trigonometry out of every
// curve recomputation.
struct ColumnTable {
    explicit ColumnTable(const GraphGeometry& geometry);

    int count = 0;
    std::array<double, CurveCapacity> crossoverCos{};
    std::array<double, CurveCapacity> crossoverSin{};
    std::array<double, CurveCapacity> peakingCos{};
    std::array<double, CurveCapacity> peakingSin{};
};

} // namespace m7410
