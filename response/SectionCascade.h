// The magnitude of a cascade of sections on the unit circle.
#pragma once

#include "response/Section.h"

#include <span>

namespace m7410 {

// Magnitude evaluation of a cascade of sections on the unit circle.
//
// For each section, normalised by its a0, the numerator at angle w is
// ((B0 + B2) cos w + B1) + j (B0 - B2) sin w and the denominator ((1 + A2) cos w + A1) +
// j (1 - A2) sin w; the cascade's level is the sum of the sections' levels on the
// 40 ln(m) / ln(101) scale.

// Level of the cascade at one angular frequency (radians per sample).
double cascadeLevelAt(std::span<const Section> sections, double omega);

// Levels of the cascade at `count` columns whose cosines and sines are given. The product of
// the sections' squared magnitudes needs one logarithm per column, and unit sections are
// skipped, which is exact: they contribute a ratio of exactly 1.
void cascadeLevels(std::span<const Section> sections, const double* cosw, const double* sinw,
                   int count, double* levels);

} // namespace m7410
