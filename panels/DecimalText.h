// Reading the number a numeric field holds, strictly and in any locale.
#pragma once

#include <QString>

#include <optional>

namespace m7410 {

// The number a numeric field holds: an optional "-", digits with at most one decimal point,
// nothing else (no exponent, no spaces, no "inf"). A number too large for a double is taken
// as infinite so that the field's limit applies to it like to any other large number.
std::optional<double> parseDecimalText(const QString& text);

} // namespace m7410
