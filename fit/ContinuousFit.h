// The fit with continuous frequency, gain and Q, as a program unaware of the unit's tables does.
#pragma once

#include "fit/FitProblem.h"

#include <vector>

namespace m7410 {

struct FitLimits {
    double loHz = 20.0;
    double hiHz = 20000.0;
    double minGain = -24.0;
    double maxGain = 6.0;
    double minQ = 0.2;
    double maxQ = 36.0;
};

// bandCount bands (peaking, low or high shelf), each placed in turn where it lowers the error
// most (a grid of frequencies, Q values and the three types, with the gain that fits best),
// all placed bands then refined jointly (Levenberg-Marquardt, kept inside the limits); finally
// each band is taken out and placed again wherever it helps most, as long as that helps.
std::vector<BandValues> continuousFit(const FitProblem& problem, int bandCount,
                                      const FitLimits& limits);

// Joint refinement of the bands at the indexes given, the others held; inside the limits.
// Returns the cost afterwards.
double refineBands(const FitProblem& problem, std::vector<BandValues>& bands,
                 const std::vector<std::size_t>& which, const FitLimits& limits);

// The cost (FitProblem::cost) of the bands.
double bandsCost(const FitProblem& problem, const std::vector<BandValues>& bands);

} // namespace m7410
