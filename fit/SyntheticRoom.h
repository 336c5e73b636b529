// Synthetic room measurements whose ingredients are known, for the fit's tests, benchmark and
// the rooms written for the documentation. Reproducible from a seed on every platform.
#pragma once

#include "eqtext/Measurement.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m7410 {

// What a synthetic room is made of; levels in dB (20 log10 of the analog magnitude).
struct RoomMode {
    double hz;
    double db; // positive: a peak, negative: a dip
    double q;
};

struct SyntheticRoom {
    double rollOffHz = 40.0;        // the loudspeaker's second-order high-pass corner
    std::vector<RoomMode> modes;    // 3 to 6 below 400 Hz, 3 to 11 dB, Q 2 to 12
    std::vector<RoomMode> broad;    // broad deviations above 400 Hz, 1 to 3 dB, Q 0.4 to 1.2
    double tiltDbPerDecade = 0.0;   // above 2 kHz
    double rippleDb = 0.3;          // peak-to-peak of a ripple of about 4.3 cycles per octave
    double ripplePhase = 0.0;
    double levelDb = 85.0;          // overall level, as a measurement program shows SPL
};

// A room drawn from the seed (uniform within the ranges above, a quarter of the modes dips).
SyntheticRoom randomRoom(std::uint32_t seed);

// The room's level at hz.
double roomLevel(const SyntheticRoom& room, double hz);

// Points 1/pointsPerOctave octave apart from fromHz up to and including toHz at most.
std::vector<double> logFrequencies(double fromHz, double toHz, double pointsPerOctave);
// The room measured at those frequencies.
Response measureRoom(const SyntheticRoom& room, const std::vector<double>& hz);

// The three file formats the reader takes: a measurement program's text export (comment lines,
// a header of words, space-separated columns), .frd (columns only) and CSV with a header row.
enum class RoomFormat { Text, Frd, Csv };

// The measurement in that format with three columns (frequency, level, a phase of 0), levels
// to 3 decimals, whatever the locale; readable by parseResponseText.
std::string roomText(const Response& measured, const std::string& title,
                     RoomFormat format = RoomFormat::Text);

} // namespace m7410
