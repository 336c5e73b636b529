#include "model/NearestIndex.h"

#include "model/ValueTables.h"

namespace m7410 {

int nearestIndex(const double* table, int count, double value) {
    for (int i = 1; i < count; ++i) {
        if (value <= table[i]) return value - table[i - 1] > table[i] - value ? i : i - 1;
    }
    return count > 0 ? count - 1 : 0;
}

int outputGainIndexOf(double dB) {
    for (int i = 0; i < OutputGainCount; ++i) {
        if (OutputGainTable[i] == dB) return i;
    }
    return -1;
}

} // namespace m7410
