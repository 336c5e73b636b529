#include "unit/ParameterPaths.h"

#include "unit/ValueText.h"

#include "model/ChannelModel.h"
#include "model/DisplayFormats.h"
#include "model/NearestIndex.h"
#include "model/TypedValues.h"
#include "model/ValueTables.h"
#include "protocol/MessageBuilders.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace m7410 {

namespace {

using F = ParameterField;

// The window's rows from the top: Main, then "High", "Middle" and "Low" (channels 2, 0, 1).
constexpr std::array<std::pair<const char*, int>, ChannelCount> Channels = {
    {{"main", MainChannelIndex}, {"high", 2}, {"middle", 0}, {"low", 1}}};

std::vector<ParameterPath> buildPaths() {
    std::vector<ParameterPath> out;
    for (const auto& channel : Channels) {
        // Plain copies: clang 14 lets no lambda capture a structured binding.
        const std::string c = channel.first;
        const int ch = channel.second;
        const auto add = [&](const std::string& leaf, F field, int row = -1) {
            out.push_back({c + "." + leaf, field, ch, row});
        };
        if (ch == MainChannelIndex) {
            add("volume", F::Volume);
        } else {
            add("gain", F::Gain);
            add("mute", F::Mute);
        }
        add("polarity", F::Polarity);
        add("delay", F::Delay);
        add("hpf.freq", F::HpfFreq);
        add("hpf.type", F::HpfType);
        add("lpf.freq", F::LpfFreq);
        add("lpf.type", F::LpfType);
        if (ch != MainChannelIndex) {
            add("limiter.threshold", F::LimiterThreshold);
            add("limiter.attack", F::LimiterAttack);
            add("limiter.release", F::LimiterRelease);
        }
        for (int row = 0; row < EqRowsPerChannel; ++row) {
            const std::string eq = "eq" + std::to_string(row + 1) + ".";
            add(eq + "type", F::EqType, row);
            add(eq + "freq", F::EqFreq, row);
            add(eq + "gain", F::EqGain, row);
            add(eq + "q", F::EqQ, row);
        }
    }
    return out;
}

// The leading number of each entry of a list such as "0.5 ms", "-7dBu", "90ms".
template <std::size_t N>
std::array<double, N> leadingNumbers(const std::array<std::string_view, N>& list) {
    std::array<double, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view e = list[i];
        std::from_chars(e.data(), e.data() + e.size(), out[i]);
    }
    return out;
}

const auto ThresholdDb = leadingNumbers(LimiterThresholdList);
const auto AttackMs = leadingNumbers(LimiterAttackList);
const auto ReleaseMs = leadingNumbers(LimiterReleaseList);

// The unit lists write "-19dBu" and "90ms" beside "0.5 ms"; here every value is number, space,
// unit.
template <std::size_t N>
std::string withUnit(const std::array<double, N>& numbers, int32_t index, const char* unit) {
    if (index < 0 || index >= static_cast<int32_t>(N))
        return std::string("(").append(std::to_string(index)).append(")");
    return shortestDecimal(numbers[static_cast<std::size_t>(index)]) + " " + unit;
}

template <std::size_t N>
std::string choices(const std::array<std::string_view, N>& list, std::size_t count = N) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += (i ? ", " : "") + std::string(list[i]);
    return out;
}

template <std::size_t N>
std::optional<int32_t> choose(const std::array<std::string_view, N>& list, std::string_view text,
                              std::size_t offered, std::string& error) {
    const std::string t = lower(trimmed(text));
    for (std::size_t i = 0; i < offered; ++i) {
        if (lower(list[i]) == t) return static_cast<int32_t>(i);
    }
    error = "choose one of: " + choices(list, offered);
    return std::nullopt;
}

// A list of numeric entries: its own text, or any number, snapped to the nearest entry.
template <std::size_t N>
std::optional<int32_t> snapToList(const std::array<std::string_view, N>& list,
                                  const std::array<double, N>& numbers, std::string_view text,
                                  std::string_view unit, std::string& error) {
    std::string ignored;
    if (const std::optional<int32_t> exact = choose(list, text, N, ignored)) return exact;
    const std::optional<double> v = parseNumber(text, {lower(unit)});
    if (!v) {
        std::string offered;
        for (std::size_t i = 0; i < N; ++i)
            offered += (i ? ", " : "") + withUnit(numbers, static_cast<int32_t>(i), unit.data());
        error = "not a number of " + std::string(unit) + ": choose one of " + offered;
        return std::nullopt;
    }
    return nearestIndex(numbers, *v);
}

std::optional<int32_t> numberOrError(std::optional<double> v, std::string_view what,
                                     std::string& error, int32_t (*snap)(double)) {
    if (!v) {
        error = "not a number of " + std::string(what);
        return std::nullopt;
    }
    return snap(*v);
}

// Model is ChannelModel or const ChannelModel.
template <typename Model> auto& fieldOf(Model& m, const ParameterPath& p) {
    const int ch = p.channel;
    const bool main = ch == MainChannelIndex;
    switch (p.field) {
    case F::Gain:
        return m.outputs[ch].gain;
    case F::Mute:
        return m.outputs[ch].outputOn;
    case F::Polarity:
        return main ? m.main.phaseInvert : m.outputs[ch].phaseInvert;
    case F::Delay:
        return main ? m.main.delay : m.outputs[ch].delay;
    case F::Volume:
        return m.main.volume;
    case F::HpfFreq:
        return m.crossover(ch).hpf.freq;
    case F::HpfType:
        return m.crossover(ch).hpf.type;
    case F::LpfFreq:
        return m.crossover(ch).lpf.freq;
    case F::LpfType:
        return m.crossover(ch).lpf.type;
    case F::LimiterThreshold:
        return m.outputs[ch].limiter.threshold;
    case F::LimiterAttack:
        return m.outputs[ch].limiter.attack;
    case F::LimiterRelease:
        return m.outputs[ch].limiter.release;
    case F::EqType:
        return m.band(bandAddress(ch, p.row)).type;
    case F::EqFreq:
        return m.band(bandAddress(ch, p.row)).freq;
    case F::EqGain:
        break; // the gain in force is not one field
    case F::EqQ:
        return m.band(bandAddress(ch, p.row)).q;
    }
    return m.band(bandAddress(ch, p.row)).peakGain;
}

template <typename Table> double at(const Table& table, int32_t index) {
    return table.at(
        static_cast<std::size_t>(std::clamp<int32_t>(index, 0, int32_t(table.size()) - 1)));
}

template <std::size_t N>
std::string entry(const std::array<std::string_view, N>& list, int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(N))
        return std::string("(").append(std::to_string(index)).append(")");
    return std::string(list[static_cast<std::size_t>(index)]);
}

ParameterReading numeric(double value, std::string text, const char* unit) {
    return {std::move(text), value, unit};
}

} // namespace

const std::vector<ParameterPath>& allParameterPaths() {
    static const std::vector<ParameterPath> paths = buildPaths();
    return paths;
}

const ParameterPath* findParameterPath(std::string_view path) {
    const std::string wanted = lower(path);
    for (const ParameterPath& p : allParameterPaths()) {
        if (p.path == wanted) return &p;
    }
    return nullptr;
}

std::vector<const ParameterPath*> selectParameterPaths(std::string_view selector) {
    const std::string wanted = lower(selector);
    std::vector<const ParameterPath*> out;
    for (const ParameterPath& p : allParameterPaths()) {
        const bool within = p.path.size() > wanted.size() && p.path.starts_with(wanted) &&
                            p.path[wanted.size()] == '.';
        if (wanted == "all" || p.path == wanted || within) out.push_back(&p);
    }
    return out;
}

const std::vector<std::string>& channelNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& c : Channels)
            out.emplace_back(c.first);
        return out;
    }();
    return names;
}

int channelIndexOf(std::string_view name) {
    for (const auto& [n, ch] : Channels)
        if (name == n) return ch;
    return -1;
}

ParameterReading readParameter(const ChannelModel& model, const ParameterPath& p) {
    if (p.field == F::EqGain) {
        const int32_t i = model.band(bandAddress(p.channel, p.row)).gainInForce();
        return numeric(at(EqGainTable, i), formatEqGain(i) + " dB", "dB");
    }
    const int32_t i = fieldOf(model, p);
    switch (p.field) {
    case F::Gain:
        return numeric(at(OutputGainTable, i), formatOutputGain(std::clamp(i, 0, GainIndexMax)),
                       "dB");
    case F::Mute:
        return {i == 0 ? "on" : "off", std::nullopt, ""};
    case F::Polarity:
        return {formatPolarity(i), std::nullopt, ""};
    case F::Delay: {
        const double ms = i * DelayMsPerStep;
        std::string t = formatDelay(i).ms;
        return numeric(ms, t.substr(0, t.size() - 3) + " ms", "ms");
    }
    case F::Volume:
        if (i == 0) return {"mute", std::nullopt, ""};
        return numeric(volumeDb(i), formatVolume(i), "dB");
    case F::HpfFreq:
    case F::LpfFreq:
    case F::EqFreq:
        return numeric(at(FreqTable, i), formatFrequency(std::clamp(i, 0, FreqCount - 1)) + " Hz",
                       "Hz");
    case F::HpfType:
    case F::LpfType:
        return {entry(FilterTypeList, i), std::nullopt, ""};
    case F::LimiterThreshold:
        return numeric(at(ThresholdDb, i), withUnit(ThresholdDb, i, "dBu"), "dBu");
    case F::LimiterAttack:
        return numeric(at(AttackMs, i), withUnit(AttackMs, i, "ms"), "ms");
    case F::LimiterRelease:
        return numeric(at(ReleaseMs, i), withUnit(ReleaseMs, i, "ms"), "ms");
    case F::EqType:
        return {entry(EqTypeList, i), std::nullopt, ""};
    case F::EqQ:
        return numeric(at(QTable, i), formatQ(std::clamp(i, 0, QCount - 1)), "");
    case F::EqGain:
        break;
    }
    return {};
}

std::optional<int32_t> snapParameterValue(const ParameterPath& p, std::string_view text,
                                          std::string& error) {
    const std::string t = lower(trimmed(text));
    switch (p.field) {
    case F::Gain: {
        const std::optional<double> dB = parseNumber(text, {"db"});
        if (!dB) {
            error = "not a number of dB";
            return std::nullopt;
        }
        return snapOutputGain(*dB, p.channel);
    }
    case F::Mute:
        if (t == "on" || t == "yes" || t == "true" || t == "1") return 0;
        if (t == "off" || t == "no" || t == "false" || t == "0") return 1;
        error = "choose on (muted) or off";
        return std::nullopt;
    case F::Polarity:
        if (t == "+" || t == "normal") return 0;
        if (t == "-" || t == "inverted" || t == "invert") return 1;
        error = "choose + (normal) or - (inverted)";
        return std::nullopt;
    case F::Delay: {
        const std::optional<double> ms = parseNumber(text, {"ms"});
        if (!ms) {
            error = "not a number of ms";
            return std::nullopt;
        }
        const int32_t max = p.channel == MainChannelIndex ? MainDelayMax : OutputDelayMax;
        return static_cast<int32_t>(std::clamp(std::lround(*ms / DelayMsPerStep), 0L, long(max)));
    }
    case F::Volume: {
        if (t == "mute") return 0;
        const std::optional<double> dB = parseNumber(text, {"db"});
        if (!dB) {
            error = "not a number of dB, nor mute";
            return std::nullopt;
        }
        // Positions 1..301 are -60.0 .. 0.0 dB in 0.2 dB steps; 0 is "Mute".
        return static_cast<int32_t>(
            std::clamp(std::lround((*dB - volumeDb(0)) / 0.2), 1L, long(VolumeMax)));
    }
    case F::HpfFreq:
    case F::LpfFreq:
    case F::EqFreq:
        return numberOrError(parseFrequency(text), "Hz", error, snapFrequency);
    case F::HpfType:
    case F::LpfType: {
        // Only the first output row offers the 48 dB types.
        const std::size_t offered =
            p.channel == LimitedGainChannel ? FilterTypeCount : FilterTypesOfferedNarrow;
        return choose(FilterTypeList, text, offered, error);
    }
    case F::LimiterThreshold:
        return snapToList(LimiterThresholdList, ThresholdDb, text, "dBu", error);
    case F::LimiterAttack:
        return snapToList(LimiterAttackList, AttackMs, text, "ms", error);
    case F::LimiterRelease:
        return snapToList(LimiterReleaseList, ReleaseMs, text, "ms", error);
    case F::EqType:
        return choose(EqTypeList, text, EqTypeCount, error);
    case F::EqGain:
        return numberOrError(parseNumber(text, {"db"}), "dB", error, snapEqGain);
    case F::EqQ:
        return numberOrError(parseNumber(text), "Q", error, snapQ);
    }
    return std::nullopt;
}

int32_t parameterIndex(const ChannelModel& model, const ParameterPath& p) {
    if (p.field == F::EqGain) return model.band(bandAddress(p.channel, p.row)).gainInForce();
    return fieldOf(model, p);
}

void storeParameter(ChannelModel& model, const ParameterPath& p, int32_t index) {
    if (p.field == F::EqGain)
        model.band(bandAddress(p.channel, p.row)).setGainInForce(index);
    else
        fieldOf(model, p) = index;
}

void writeParameter(ChannelModel& model, MessageBuilders& builders, const ParameterPath& p,
                    int32_t index) {
    storeParameter(model, p, index);
    switch (p.field) {
    case F::Gain:
    case F::Mute:
    case F::Polarity:
    case F::Delay:
    case F::Volume:
        if (p.channel == MainChannelIndex)
            builders.QueueMainBasicMessage();
        else
            builders.QueueBasicMessage(p.channel);
        return;
    case F::HpfFreq:
    case F::HpfType:
    case F::LpfFreq:
    case F::LpfType:
        builders.QueueCrossoverMessage(p.channel);
        return;
    case F::LimiterThreshold:
    case F::LimiterAttack:
    case F::LimiterRelease:
        builders.QueueLimiterMessage(p.channel);
        return;
    case F::EqType:
    case F::EqFreq:
    case F::EqGain:
    case F::EqQ:
        builders.QueueEqBandMessage(bandAddress(p.channel, p.row));
        return;
    }
}

} // namespace m7410
