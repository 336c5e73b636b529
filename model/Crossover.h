// A channel's high-pass and low-pass filters: type and frequency index each.
#pragma once

#include <cstdint>

namespace m7410 {

inline constexpr int32_t FreqIndexMax = 243;

struct CrossoverFilter {
    int32_t freq = 0;
    int32_t type = 0;
    bool operator==(const CrossoverFilter&) const = default;
};

struct Crossover {
    CrossoverFilter hpf{0, 0};
    CrossoverFilter lpf{FreqIndexMax, 0};
    bool operator==(const Crossover&) const = default;
};

} // namespace m7410
