#include "model/ValueTables.h"

#include <algorithm>

namespace m7410 {

const std::array<double, FreqCount> FreqTable = {
    19.7,  20.3,  20.9,  21.5,  22.1,  22.7,  23.4,  24.1,  24.8,  25.5,  26.3,  27,    27.8,
    28.7,  29.5,  30.4,  31.3,  32.2,  33.1,  34.1,  35.1,  36.1,  37.2,  38.3,  39.4,  40.5,
    41.7,  42.9,  44.2,  45.5,  46.8,  48.2,  49.6,  51.1,  52.6,  54.1,  55.7,  57.3,  59,
    60.7,  62.5,  64.3,  66.2,  68.2,  70.2,  72.2,  74.3,  76.5,  78.7,  81.1,  83.4,  85.9,
    88.4,  91,    93.6,  96.4,  99.2,  102,   105,   108,   111,   115,   118,   121,   125,
    129,   132,   136,   140,   144,   149,   153,   158,   162,   167,   172,   179,   182,
    187,   193,   198,   204,   210,   216,   223,   229,   236,   243,   250,   257,   265,
    273,   281,   289,   297,   306,   315,   324,   334,   344,   354,   364,   375,   386,
    397,   409,   420,   433,   445,   459,   472,   486,   500,   515,   530,   545,   561,
    578,   595,   612,   630,   648,   667,   687,   707,   728,   749,   771,   794,   817,
    841,   866,   891,   917,   944,   972,   1000,  1030,  1060,  1090,  1123,  1155,  1190,
    1224,  1260,  1297,  1335,  1374,  1414,  1456,  1498,  1542,  1587,  1634,  1682,  1731,
    1782,  1834,  1888,  1943,  2000,  2059,  2119,  2181,  2245,  2311,  2378,  2448,  2520,
    2594,  2670,  2748,  2828,  2911,  2997,  3084,  3175,  3268,  3364,  3462,  3564,  3668,
    3776,  3886,  4000,  4117,  4238,  4362,  4490,  4621,  4757,  4896,  5040,  5187,  5339,
    5496,  5657,  5823,  5993,  6169,  6350,  6536,  6727,  6924,  7127,  7336,  7551,  7772,
    8000,  8234,  8476,  8724,  8980,  9243,  9514,  9792,  10000, 10300, 10600, 10900, 11300,
    11600, 11900, 12300, 12600, 13000, 13400, 13800, 14200, 14600, 15100, 15500, 16000, 16400,
    16900, 17400, 17900, 18400, 19000, 19500, 20100, 20700, 21300, 21900};

namespace {

// The entries are the nearest doubles to decimal values such as -23.8; computing
// start + step * i would drift by an ulp, so each entry is rounded to one or two decimals.
template <std::size_t N>
std::array<double, N> linearTable(double start, double step, double scale) {
    std::array<double, N> t{};
    for (std::size_t i = 0; i < N; ++i) {
        const double scaled = (start + step * static_cast<double>(i)) * scale;
        t[i] =
            static_cast<double>(static_cast<long long>(scaled + (scaled < 0 ? -0.5 : 0.5))) / scale;
    }
    return t;
}

} // namespace

const std::array<double, EqGainCount> EqGainTable = linearTable<EqGainCount>(-24.0, 0.2, 10.0);
const std::array<double, OutputGainCount> OutputGainTable =
    linearTable<OutputGainCount>(-20.0, 0.1, 10.0);
const std::array<double, QCount> QTable = linearTable<QCount>(0.2, 0.2, 10.0);

const std::array<std::string_view, FilterTypeCount> FilterTypeList = {
    "12db-Bworth", "12db-LR", "12db-Bessel", "18db-Bworth", "18db-LR", "18db-Bessel",
    "24db-Bworth", "24db-LR", "24db-Bessel", "48db-Bworth", "48db-LR", "48db-Bessel"};

const std::array<std::string_view, EqTypeCount> EqTypeList = {"PEQ", "LS6", "HS6"};

const std::array<std::string_view, LimiterThresholdCount> LimiterThresholdList = {
    "-19dBu", "-18dBu", "-17dBu", "-16dBu", "-15dBu", "-14dBu", "-13dBu",
    "-12dBu", "-11dBu", "-10dBu", "-9dBu",  "-8dBu",  "-7dBu",  "-6dBu",
    "-5dBu",  "-4dBu",  "-3dBu",  "-2dBu",  "-1dBu",  "0dBu"};

const std::array<std::string_view, LimiterAttackCount> LimiterAttackList = {
    "0.5 ms", "1 ms", "2 ms", "5 ms", "10 ms", "20 ms", "50 ms"};

const std::array<std::string_view, LimiterReleaseCount> LimiterReleaseList = {
    "90ms", "200ms", "500ms", "700ms", "1200ms", "2000ms", "5000ms"};

FilterTypeInfo filterTypeInfo(int type) {
    static constexpr int orders[] = {2, 3, 4, 8};
    const int t = std::clamp(type, 0, FilterTypeCount - 1);
    return {orders[t / 3], static_cast<FilterFamily>(t % 3)};
}

} // namespace m7410
