// Snapping a value in engineering units to the nearest index of a table.
#pragma once

#include <cstddef>

namespace m7410 {

// Snaps a typed or dragged unit value to a table index: the nearest entry wins, an exact
// midpoint goes to the lower index, values outside the table give its first or last index.
int nearestIndex(const double* table, int count, double value);

template <typename Table> int nearestIndex(const Table& table, double value) {
    return nearestIndex(table.data(), static_cast<int>(table.size()), value);
}

// The first output gain index whose table value equals dB exactly, or -1 when none does.
int outputGainIndexOf(double dB);

} // namespace m7410
