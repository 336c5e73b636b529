// Values as typed on the command line: numbers with a point whatever the locale, and units.
#pragma once

#include "support/AsciiText.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace m7410 {

// A decimal number, optionally followed by one of the units (lower case here; the text may
// use any case and a space before it); a leading "+" is taken. No exponents, no infinities.
std::optional<double> parseNumber(std::string_view text,
                                  std::initializer_list<std::string_view> units = {});
// Hz, or kHz when followed by "k" or "kHz": "1.2k", "1.2 kHz", "1200 Hz".
std::optional<double> parseFrequency(std::string_view text);

} // namespace m7410
