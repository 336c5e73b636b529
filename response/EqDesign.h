// Sections of the three EQ band types.
#pragma once

#include "response/Section.h"

namespace m7410 {

// Sections of the three EQ band types from a centre or corner frequency in Hz and a gain in dB.

// Peaking band; q is the band's Q value (not its index).
Section peakingSection(double f0, double gainDb, double q);
// Shelves have a fixed slope and ignore Q; a gain of exactly 0 dB gives the unit section.
Section lowShelfSection(double f0, double gainDb);
Section highShelfSection(double f0, double gainDb);

} // namespace m7410
