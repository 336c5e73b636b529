#include "fit/SyntheticRoom.h"

#include <cmath>
#include <complex>
#include <charconv>
#include <random>

namespace m7410 {

namespace {

// Uniform in [lo, hi) from the generator's raw output, which the standard fixes (unlike the
// distributions, whose results differ between standard libraries).
class Draw {
public:
    explicit Draw(std::uint32_t seed) : g(seed) {}
    double uniform(double lo, double hi) {
        return lo + (hi - lo) * (static_cast<double>(g()) / 4294967296.0);
    }
    // Uniform on a log scale.
    double logUniform(double lo, double hi) { return lo * std::pow(hi / lo, uniform(0.0, 1.0)); }
    int integer(int lo, int hi) { return lo + static_cast<int>(uniform(0.0, hi - lo + 1 - 1e-9)); }

private:
    std::mt19937 g;
};

// An analog peaking resonance (the bilinear transform's prototype, not the unit's digital
// design), so that the unit's bands can only approximate it.
double resonanceDb(const RoomMode& m, double hz) {
    const double a = std::pow(10.0, m.db / 40.0);
    const std::complex<double> s(0.0, hz / m.hz);
    const std::complex<double> h = (s * s + s * (a / m.q) + 1.0) / (s * s + s / (a * m.q) + 1.0);
    return 20.0 * std::log10(std::abs(h));
}

} // namespace

SyntheticRoom randomRoom(std::uint32_t seed) {
    Draw d(seed);
    SyntheticRoom r;
    r.rollOffHz = d.logUniform(28.0, 60.0);
    const int modes = d.integer(3, 6);
    for (int k = 0; k < modes; ++k) {
        const double db = d.uniform(3.0, 11.0);
        r.modes.push_back({d.logUniform(30.0, 400.0), d.uniform(0.0, 1.0) < 0.25 ? -db : db,
                           d.logUniform(2.0, 12.0)});
    }
    const int broad = d.integer(2, 4);
    for (int k = 0; k < broad; ++k) {
        const double db = d.uniform(1.0, 3.0);
        r.broad.push_back({d.logUniform(500.0, 12000.0), d.uniform(0.0, 1.0) < 0.5 ? -db : db,
                           d.logUniform(0.4, 1.2)});
    }
    r.tiltDbPerDecade = d.uniform(-3.0, 0.5);
    r.ripplePhase = d.uniform(0.0, 6.283185307179586);
    r.levelDb = d.uniform(75.0, 95.0);
    return r;
}

double roomLevel(const SyntheticRoom& room, double hz) {
    const double x = room.rollOffHz / hz;
    double db = room.levelDb - 10.0 * std::log10(1.0 + x * x * x * x);
    for (const RoomMode& m : room.modes)
        db += resonanceDb(m, hz);
    for (const RoomMode& m : room.broad)
        db += resonanceDb(m, hz);
    if (hz > 2000.0) db += room.tiltDbPerDecade * std::log10(hz / 2000.0);
    db += 0.5 * room.rippleDb * std::sin(6.283185307179586 * 4.3 * std::log2(hz / 20.0) + room.ripplePhase);
    return db;
}

std::vector<double> logFrequencies(double fromHz, double toHz, double pointsPerOctave) {
    std::vector<double> out;
    for (int k = 0;; ++k) {
        const double hz = fromHz * std::exp2(k / pointsPerOctave);
        if (hz > toHz * (1.0 + 1e-12)) break;
        out.push_back(hz);
    }
    return out;
}

Response measureRoom(const SyntheticRoom& room, const std::vector<double>& hz) {
    Response r;
    for (double f : hz)
        r.points.push_back({f, roomLevel(room, f)});
    return r;
}

std::string roomText(const Response& measured, const std::string& title, RoomFormat format) {
    std::string out;
    if (format == RoomFormat::Text)
        out = "* " + title + "\n* Synthetic measurement written by m7410-fit-rooms\n"
                             "Freq(Hz) SPL(dB) Phase(degrees)\n";
    else if (format == RoomFormat::Csv)
        out = "Frequency (Hz),Level (dB),Phase (deg)\n";
    const char separator = format == RoomFormat::Csv ? ',' : format == RoomFormat::Frd ? '\t' : ' ';
    // to_chars, not printf: a decimal-comma locale must not change the file.
    const auto number = [&out](double v) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
        out.append(buf, r.ptr);
    };
    for (const ResponsePoint& p : measured.points) {
        number(p.hz);
        out += separator;
        number(p.db);
        out += separator;
        out += "0.0\n";
    }
    return out;
}

} // namespace m7410
