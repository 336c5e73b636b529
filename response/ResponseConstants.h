// The constants of the response graph's filter models.
#pragma once

#include <cmath>

// The constants the graph's filter models use. They are kept exactly as the unit's own
// modelling has them (including the slightly rounded angular factors), so the curves match it.
namespace m7410 {

inline constexpr double SampleRate = 96000.0;
// Radians per Hz for designing a filter at its corner or centre frequency.
inline constexpr double DesignAngularFactor = 6.544985e-05;
// Column angular frequency numerators: crossovers and shelves, and the peaking band's own.
inline constexpr double ColumnTwoPi = 6.283185307179586;
inline constexpr double PeakingTwoPi = 2.0 * 3.141592;
// A computed a0 of exactly 0 is replaced by this in the crossover sections.
inline constexpr double ZeroGuard = 1e-10;
// The high-pass at its lowest setting and the low-pass at its highest are effectively off.
inline constexpr double HighPassOffHz = 1.0;
inline constexpr double LowPassOffHz = 60000.0;

// Level in dB of a magnitude m: 40 ln(m) / ln(101), the unit's scale (0.2 % below 20 log10 m).
inline double levelOfMagnitude(double m) {
    return 40.0 * std::log(m) / std::log(101.0);
}

} // namespace m7410
