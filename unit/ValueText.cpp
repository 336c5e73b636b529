#include "unit/ValueText.h"

#include <charconv>
#include <cmath>

namespace m7410 {

std::optional<double> parseNumber(std::string_view text,
                                  std::initializer_list<std::string_view> units) {
    std::string t = lower(trimmed(text));
    for (std::string_view unit : units) {
        if (t.size() > unit.size() && t.compare(t.size() - unit.size(), unit.size(), unit) == 0) {
            t.resize(t.size() - unit.size());
            t = std::string(trimmed(t));
            break;
        }
    }
    std::string_view digits = t;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    if (digits.empty() || (digits.front() == '-' && t.front() == '+')) return std::nullopt;
    double value = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                   std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> parseFrequency(std::string_view text) {
    const std::string t = lower(trimmed(text));
    for (std::string_view unit : {std::string_view("khz"), std::string_view("k")}) {
        if (t.size() > unit.size() && t.ends_with(unit)) {
            const std::optional<double> k = parseNumber(t.substr(0, t.size() - unit.size()));
            if (k) return *k * 1000;
            return std::nullopt;
        }
    }
    return parseNumber(t, {"hz"});
}

} // namespace m7410
