// A fit as text, for m7410-ctl and the window's preview.
#pragma once

#include "fit/EqFit.h"

#include <string>

namespace m7410 {

// One line per band ("band 1  PEQ  51.1 Hz     -4.8 dB   Q 3.4"), then the RMS figures before,
// with fit-then-round and with the table search, and the largest error with its frequency.
std::string fitReportText(const EqFit& fit);

// "0.498 dB": an RMS or error figure as reported.
std::string figureText(double dB);

} // namespace m7410
