// Reading Equalizer APO and REW filter texts into filters, with a reason for every line left out.
#pragma once

#include "eqtext/TextFilter.h"

#include <string_view>

namespace m7410 {

// Reads an Equalizer APO configuration or a REW "Filter Settings file" export:
//
//   Preamp: -6.5 dB
//   Filter 1: ON PK Fc 1000 Hz Gain -3.5 dB Q 2.10
//   Filter  2: ON  LS       Fc   80.0 Hz  Gain   4.0 dB
//
// Types PK/PEQ, LS/LSC and HS/HSC (a shelf may add "6dB" or "12dB"); Fc, Gain and Q in any
// order; "#" starts a comment; LF or CR LF line ends. Filters that are off or "None" are
// skipped quietly; every other line that is not understood, or holds a value that is no
// usable number, is skipped and listed with the reason. REW's header lines before its first
// filter are not listed. Numbers take a decimal point whatever the locale.
FilterText parseFilterText(std::string_view text);

} // namespace m7410
