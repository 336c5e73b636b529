// Section designs of the twelve crossover filter types.
#pragma once

#include "response/Section.h"

namespace m7410 {

// Section designs of the twelve crossover filter types (codes 0..11: 12, 18, 24 and 48 dB per
// octave, each as Butterworth, Linkwitz-Riley and Bessel). Codes outside 0..11 are clamped.

// Corner frequency a stored index stands for: the table entry, except that the lowest
// high-pass setting and the highest low-pass setting mean "off" and use a corner far outside
// the graph. Indexes outside the table are clamped.
double highPassCornerHz(int freqIndex);
double lowPassCornerHz(int freqIndex);

// Bessel types design at the corner divided by these; the other types return 1.
double highPassDivisor(int type);
double lowPassDivisor(int type);

// Sections of a filter with corner cornerHz (before any Bessel division).
FilterSections highPassSections(double cornerHz, int type);
FilterSections lowPassSections(double cornerHz, int type);

} // namespace m7410
