// The fixed tables every stored parameter index points into.
#pragma once

#include <array>
#include <string_view>

// The fixed tables every parameter index points into. Indexes are what the unit stores and
// what travels on the wire; the engineering values exist for display and the graph only.
namespace m7410 {

inline constexpr int FreqCount = 244;
inline constexpr int EqGainCount = 181;
inline constexpr int OutputGainCount = 251;
inline constexpr int QCount = 180;
inline constexpr int FilterTypeCount = 12;
inline constexpr int EqTypeCount = 3;
inline constexpr int LimiterThresholdCount = 20;
inline constexpr int LimiterAttackCount = 7;
inline constexpr int LimiterReleaseCount = 7;

extern const std::array<double, FreqCount> FreqTable;
extern const std::array<double, EqGainCount> EqGainTable;
extern const std::array<double, OutputGainCount> OutputGainTable;
extern const std::array<double, QCount> QTable;

extern const std::array<std::string_view, FilterTypeCount> FilterTypeList;
extern const std::array<std::string_view, EqTypeCount> EqTypeList;
extern const std::array<std::string_view, LimiterThresholdCount> LimiterThresholdList;
extern const std::array<std::string_view, LimiterAttackCount> LimiterAttackList;
extern const std::array<std::string_view, LimiterReleaseCount> LimiterReleaseList;

// Crossover type selectors of channels 0, 1 and 3 offer the first nine types only.
inline constexpr int FilterTypesOfferedNarrow = 9;

enum class FilterFamily { Butterworth, LinkwitzRiley, Bessel };
struct FilterTypeInfo {
    int order;
    FilterFamily family;
};
FilterTypeInfo filterTypeInfo(int type);

} // namespace m7410
