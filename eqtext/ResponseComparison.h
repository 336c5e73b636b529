// The largest difference between a filter text's requested response and the unit's snapped one.
#pragma once

#include "eqtext/TextFilter.h"
#include "model/EqBand.h"

#include <span>
#include <vector>

// The requested response of a filter text against the response the unit produces from its
// snapped bands, on the graph's level scale.
namespace m7410 {

// Level in dB at hz of the filters exactly as written: peaks as the unit's own peaking design at
// the unsnapped values, shelves with the slope the text asks for: a second-order shelf of the
// given Q unless "6dB", which is the unit's own 6 dB shelf, as export writes it.
double requestedLevel(std::span<const TextFilter> filters, double hz);
// Level in dB at hz of the bands as the graph models the unit (table values, 6 dB shelves).
double unitLevel(std::span<const EqBand> bands, double hz);

struct Deviation {
    double largestDb = 0.0; // largest absolute difference
    double atHz = 20.0;     // where it occurs (the lowest such frequency)
};

// Compares the two over 20 Hz .. 20 kHz at 1/192 octave spacing (finer than the narrowest band
// the Q table allows), both ends included.
Deviation largestDeviation(std::span<const TextFilter> filters, std::span<const EqBand> bands);

// The frequencies the comparison looks at.
std::vector<double> comparisonFrequencies();

} // namespace m7410
