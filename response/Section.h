// One digital second-order filter section.
#pragma once

#include <array>

namespace m7410 {

// One digital second-order section, b0 + b1 z^-1 + b2 z^-2 over a0 + a1 z^-1 + a2 z^-2.
// The default is the unit section, which passes everything unchanged.
struct Section {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a0 = 1.0;
    double a1 = 0.0;
    double a2 = 0.0;

    bool isUnit() const {
        return b0 == 1.0 && b1 == 0.0 && b2 == 0.0 && a0 == 1.0 && a1 == 0.0 && a2 == 0.0;
    }
    bool operator==(const Section&) const = default;
};

// A crossover filter is modelled as four sections; unused ones are unit sections.
inline constexpr int SectionsPerFilter = 4;
using FilterSections = std::array<Section, SectionsPerFilter>;

} // namespace m7410
