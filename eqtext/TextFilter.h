// One filter as a filter text states it, before it meets the unit's tables.
#pragma once

#include <optional>
#include <string>
#include <vector>

// One filter as a measurement or equaliser program writes it, before it meets the unit's tables.
namespace m7410 {

enum class TextFilterKind { Peaking, LowShelf, HighShelf };

struct TextFilter {
    TextFilterKind kind = TextFilterKind::Peaking;
    // The type as written ("PK", "LSC", "HS 6dB"), for showing it back to the user.
    std::string typeText;
    double freq = 0.0; // Hz
    double gain = 0.0; // dB
    // Required for peaking filters; a shelf without one uses 0.7071 (a slope of 1).
    std::optional<double> q;
    // Shelves are 12 dB per octave unless the type names 6 dB.
    int shelfSlopeDb = 12;
    int line = 0; // 1-based line of the text
};

// A line that was read but not used, and why.
struct SkippedLine {
    int line = 0;
    std::string text;
    std::string reason;
};

struct FilterText {
    std::vector<TextFilter> filters;
    std::vector<SkippedLine> skipped;
    std::optional<double> preamp; // dB
};

} // namespace m7410
