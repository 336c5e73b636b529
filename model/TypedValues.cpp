#include "model/TypedValues.h"

#include "model/NearestIndex.h"
#include "model/OutputChannel.h"
#include "model/ValueTables.h"

#include <algorithm>

namespace m7410 {

int32_t snapFrequency(double hz) {
    return nearestIndex(FreqTable, std::clamp(hz, 19.7, 21900.0));
}

int32_t snapEqGain(double dB) {
    return nearestIndex(EqGainTable, std::clamp(dB, -24.0, 12.0));
}

int32_t snapQ(double q) {
    return nearestIndex(QTable, std::clamp(q, 0.2, 36.0));
}

int32_t snapOutputGain(double dB, int channel) {
    const double ceiling = channel == LimitedGainChannel ? 0.0 : 5.0;
    return nearestIndex(OutputGainTable, std::clamp(dB, -20.0, ceiling));
}

} // namespace m7410
