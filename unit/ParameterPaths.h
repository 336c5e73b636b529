// Parameter paths of the command line ("high.eq3.freq"): reading, snapping and writing values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace m7410 {

struct ChannelModel;
class MessageBuilders;

enum class ParameterField {
    Gain,
    Mute,
    Polarity,
    Delay,
    Volume,
    HpfFreq,
    HpfType,
    LpfFreq,
    LpfType,
    LimiterThreshold,
    LimiterAttack,
    LimiterRelease,
    EqType,
    EqFreq,
    EqGain,
    EqQ,
};

struct ParameterPath {
    std::string path;
    ParameterField field;
    int channel; // 0..3, 3 is "main"
    int row;     // 0..5 for the EQ fields, else -1
};

// A value as shown: text with its unit ("49.6 Hz", "-3.0 dB", "LS6"), and for numeric values
// the number alone in that unit, for scripts.
struct ParameterReading {
    std::string text;
    std::optional<double> number;
    std::string unit;
};

// Every parameter of the model in a stable order: main, high, middle, low (the window's rows),
// each channel's fields in the order of its pages.
const std::vector<ParameterPath>& allParameterPaths();
// Nothing when no parameter has this path.
const ParameterPath* findParameterPath(std::string_view path);
// The paths a get names: "all", a channel ("high"), a part of one ("high.eq2", "main.hpf") or
// one path; in the order of allParameterPaths. Empty when nothing matches.
std::vector<const ParameterPath*> selectParameterPaths(std::string_view selector);
// The channel names of the paths, in the order of allParameterPaths.
const std::vector<std::string>& channelNames();
// The model's channel number (0..3) of a channel name; -1 for none.
int channelIndexOf(std::string_view name);

ParameterReading readParameter(const ChannelModel& model, const ParameterPath& path);

// The stored index a typed value becomes: numbers are held to the parameter's range and
// snapped to its table as the window snaps typed values; choices must name an entry the
// window offers for the channel. Nothing, with the reason in error, when the text is neither.
std::optional<int32_t> snapParameterValue(const ParameterPath& path, std::string_view text,
                                          std::string& error);

// The stored index of the parameter (for an EQ gain, the gain its band's type puts in force).
int32_t parameterIndex(const ChannelModel& model, const ParameterPath& path);
// Stores the index in the model only, as a copy of another program's model is kept.
void storeParameter(ChannelModel& model, const ParameterPath& path, int32_t index);

// Stores the index in the model and queues the parameter's group, as the window's edit does.
void writeParameter(ChannelModel& model, MessageBuilders& builders, const ParameterPath& path,
                    int32_t index);

} // namespace m7410
