#include "response/CrossoverDesign.h"

#include "model/ValueTables.h"
#include "response/ResponseConstants.h"

#include <algorithm>
#include <cmath>

namespace m7410 {

namespace {

// Design values x_k = 1/(2Q) of the second-order sections; for the 18 dB types x_0 is the
// factor K of a first-order section instead. The Butterworth and Linkwitz-Riley low-passes use
// the same values; the Bessel low-passes have their own analogue sections below.
constexpr double DesignValues[FilterTypeCount][SectionsPerFilter] = {
    {0.70422535, 0, 0, 0},
    {1.0, 0, 0, 0},
    {0.70422535, 0, 0, 0},
    {1.0, 0.5, 0, 0},
    {1.0, 0.70422535211, 0, 0},
    {0.756, 0.72463768, 0, 0},
    {0.92592593, 0.38167939, 0, 0},
    {0.70422535211, 0.70422535211, 0, 0},
    {0.96153846, 0.61728395, 0, 0},
    {0.98039216, 0.83333333, 0.55555556, 0.1953125},
    {0.92592592593, 0.373134315, 0.92592592593, 0.373134315},
    {0.98039216, 0.89285714, 0.70422535, 0.40650406},
};

constexpr double HighPassBesselDivisor[FilterTypeCount] = {1, 1, 1.2683112435, 1, 1, 1.2854981442,
                                                           1, 1, 1.5006420029, 1, 1, 1.679120141};

constexpr double LowPassBesselDivisor[FilterTypeCount] = {1, 1, 1.3616541287, 1, 1, 1.75567236868,
                                                          1, 1, 2.1139176749, 1, 1, 3.17961723751};

// Bessel low-pass sections: the analogue 1 / (E s^2 + D s + 1) as (D, E).
struct AnalogueSection {
    double d;
    double e;
};
constexpr AnalogueSection BesselLowPass[4][SectionsPerFilter] = {
    {{1.0, 0.3333333333}, {0, 0}, {0, 0}, {0, 0}},
    {{0.5693712514, 0.154812441}, {0.430628846, 0}, {0, 0}, {0, 0}},
    {{0.369, 0.087858766}, {0.6278294896, 0.109408}, {0, 0}, {0, 0}},
    {{0.117235677, 0.02064747},
     {0.226516664, 0.0259273886},
     {0.3067559, 0.0294683265},
     {0.3494916166, 0.031272257}},
};

int clampType(int type) {
    return std::clamp(type, 0, FilterTypeCount - 1);
}
bool isBessel(int type) {
    return filterTypeInfo(type).family == FilterFamily::Bessel;
}
// The 18 dB types start with a first-order section.
bool isEighteen(int type) {
    return filterTypeInfo(type).order == 3;
}

double guard(double a0) {
    return a0 == 0.0 ? ZeroGuard : a0;
}

struct Angle {
    double c;
    double s;
    double t;
    explicit Angle(double f0) {
        const double w0 = f0 * DesignAngularFactor;
        c = std::cos(w0);
        s = std::sin(w0);
        t = std::tan(w0 / 2.0);
    }
};

Section secondOrderHighPass(const Angle& a, double x) {
    const double alpha = a.s * x;
    return {(1.0 + a.c) / 2.0,  -(1.0 + a.c), (1.0 + a.c) / 2.0,
            guard(1.0 + alpha), -2.0 * a.c,   1.0 - alpha};
}

Section secondOrderLowPass(const Angle& a, double x) {
    const double alpha = a.s * x;
    return {(1.0 - a.c) / 2.0,  1.0 - a.c,  (1.0 - a.c) / 2.0,
            guard(1.0 + alpha), -2.0 * a.c, 1.0 - alpha};
}

// Bilinear transform of the analogue section, pre-warped at the design frequency.
Section besselLowPass(const Angle& a, AnalogueSection k) {
    const double tt = a.t * a.t;
    return {tt, 2.0 * tt, tt, k.d * a.t + tt + k.e, 2.0 * tt - 2.0 * k.e, tt - k.d * a.t + k.e};
}

} // namespace

double highPassCornerHz(int freqIndex) {
    const int i = std::clamp(freqIndex, 0, FreqCount - 1);
    return i == 0 ? HighPassOffHz : FreqTable[i];
}

double lowPassCornerHz(int freqIndex) {
    const int i = std::clamp(freqIndex, 0, FreqCount - 1);
    return i == FreqCount - 1 ? LowPassOffHz : FreqTable[i];
}

double highPassDivisor(int type) {
    return HighPassBesselDivisor[clampType(type)];
}
double lowPassDivisor(int type) {
    return LowPassBesselDivisor[clampType(type)];
}

FilterSections highPassSections(double cornerHz, int type) {
    type = clampType(type);
    const Angle a(isBessel(type) ? cornerHz / HighPassBesselDivisor[type] : cornerHz);
    FilterSections sections{};
    for (int k = 0; k < SectionsPerFilter; ++k) {
        if (DesignValues[type][k] != 0.0)
            sections[k] = secondOrderHighPass(a, DesignValues[type][k]);
    }
    if (isEighteen(type)) {
        const double kt = DesignValues[type][0] * a.t;
        sections[0] = {1.0, -1.0, 0.0, guard(kt + 1.0), kt - 1.0, 0.0};
    }
    return sections;
}

FilterSections lowPassSections(double cornerHz, int type) {
    type = clampType(type);
    FilterSections sections{};
    if (isBessel(type)) {
        const Angle a(cornerHz / LowPassBesselDivisor[type]);
        for (int k = 0; k < SectionsPerFilter; ++k) {
            const AnalogueSection s = BesselLowPass[type / 3][k];
            if (s.d != 0.0) sections[k] = besselLowPass(a, s);
        }
        return sections;
    }
    const Angle a(cornerHz);
    for (int k = 0; k < SectionsPerFilter; ++k) {
        if (DesignValues[type][k] != 0.0)
            sections[k] = secondOrderLowPass(a, DesignValues[type][k]);
    }
    if (isEighteen(type)) {
        const double k = DesignValues[type][0];
        sections[0] = {a.t, a.t, 0.0, guard(a.t + k), a.t - k, 0.0};
    }
    return sections;
}

} // namespace m7410
