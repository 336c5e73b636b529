// Fitting a channel's six bands to a measurement and a target, with the figures reported.
#pragma once

#include "eqtext/FilterImport.h"
#include "eqtext/Measurement.h"
#include "fit/FitProblem.h"

#include <array>
#include <string>
#include <vector>

namespace m7410 {

inline constexpr double LargestMaxBoostDb = 12.0;

struct FitOptions {
    double fromHz = 20.0;
    double toHz = 20000.0;
    double maxBoostDb = 6.0; // 0 .. LargestMaxBoostDb
    bool cutOnly = false;
    std::array<bool, EqRowsPerChannel> keep{}; // rows left as they are
};

// Why the options cannot be used (a range that is empty or outside 1 Hz .. 48 kHz, a maximum
// boost outside 0 .. 12 dB), or empty.
std::string fitOptionsError(const FitOptions& options);

// The error measure over the measurement's own points whose frequency lies in [from, to]:
// r(f) = measured(f) + eq(f) - target(f), eq from the response model at f and the bands' table
// values, the target moved so that r's mean is 0; the root mean square of r, and the largest
// |r| with its frequency.
struct FitFigures {
    double rms = 0.0;
    double maxError = 0.0;
    double maxErrorHz = 0.0;
    int points = 0;
};

FitFigures fitFigures(const Response& measured, const Response& target, const ChannelBands& bands,
                      double fromHz, double toHz);

struct EqFit {
    std::string error; // why there is no fit; nothing else is filled then
    // The table search: what the unit gets.
    ChannelBands bands{};
    // The plain alternative: the continuous fit, each value rounded to its nearest table entry.
    ChannelBands fitThenRoundBands{};
    // The continuous fit before rounding, one entry per row (kept rows: their own values).
    std::array<BandValues, EqRowsPerChannel> continuousBands{};
    FitFigures before; // the measurement with the channel's six bands flat
    FitFigures after;  // with bands
    FitFigures fitThenRound;
    double continuousRms = 0.0; // the unrounded optimum's RMS, for comparison
};

inline constexpr int FewestFitPoints = 10;

// current gives the kept rows, and for the others what they keep besides type, frequency, the
// gain in force and (for a peak) Q: the other gain, a shelf's Q. Options must be valid.
EqFit fitChannel(const Response& measured, const Response& target, const ChannelBands& current,
                 const FitOptions& options);

} // namespace m7410
