// The fit over the unit's own table indexes.
#pragma once

#include "fit/ContinuousFit.h"
#include "fit/FitProblem.h"
#include "fit/SearchState.h"
#include "model/EqBand.h"

#include <vector>

namespace m7410 {

// Index ranges a band may use: frequencies inside the fit range, gains within the limits.
struct TableLimits {
    int loFreq = 0;
    int hiFreq = 243;
    int loGain = 0;
    int hiGain = 150;
};

// From the continuous fit to table indexes one band at a time: the band whose best neighbouring
// table entries (frequency, gain and Q each rounded down or up) cost least is fixed there, the
// bands not yet fixed are refined again around it, and so on. start gives each band's other
// fields (the gain not in force, a shelf's Q).
std::vector<EqBand> roundOneByOne(const FitProblem& problem, std::vector<BandValues> continuous,
                                  std::vector<EqBand> start, const TableLimits& limits,
                                  const FitLimits& continuousLimits);

// From each start, moves of single indexes in steps from 16 down to 1, of every combination of
// frequency, gain and Q by one index, and of the type, repeated until no move helps; then, from
// the best of these, moves of one band that only help once the other bands have followed. The
// result never costs more than any start.
std::vector<EqBand> tableSearch(const FitProblem& problem,
                                const std::vector<std::vector<EqBand>>& starts,
                                const TableLimits& limits);

// The cost of bands on the problem (mean square error with the mean removed).
double tableCost(const FitProblem& problem, const std::vector<EqBand>& bands);

} // namespace m7410
