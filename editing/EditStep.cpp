#include "editing/EditStep.h"

#include "protocol/MessageBuilders.h"

#include <QStringList>

#include <vector>

namespace m7410::EditStep {

namespace {

// One changed control or band, with what the step name says about it.
struct Change {
    int id;
    int channel;
    QString what;
};

void bandChanges(const ChannelModel& b, const ChannelModel& a, std::vector<Change>& out) {
    for (int band = 0; band < EqBandCount; ++band) {
        const EqBand& x = b.band(band);
        const EqBand& y = a.band(band);
        if (x == y) continue;
        QStringList fields;
        if (x.freq != y.freq) fields << QStringLiteral("frequency");
        if (x.gainInForce() != y.gainInForce() || x.peakGain != y.peakGain ||
            x.shelfGain != y.shelfGain)
            fields << QStringLiteral("gain");
        if (x.q != y.q) fields << QStringLiteral("Q");
        if (x.type != y.type) fields << QStringLiteral("type");
        QString what = QStringLiteral("EQ %1").arg(rowOfBand(band) + 1);
        // A drag moves frequency and gain together: the step is the band's.
        if (fields.size() == 1) what += QLatin1Char(' ') + fields.front();
        out.push_back({100 + band, channelOfBand(band), what});
    }
}

void channelChanges(const ChannelModel& b, const ChannelModel& a, std::vector<Change>& out) {
    for (int ch = 0; ch < ChannelCount; ++ch) {
        const Crossover& x = b.crossover(ch);
        const Crossover& y = a.crossover(ch);
        if (x.hpf.freq != y.hpf.freq) out.push_back({200 + ch * 8, ch, "HPF frequency"});
        if (x.hpf.type != y.hpf.type) out.push_back({201 + ch * 8, ch, "HPF type"});
        if (x.lpf.freq != y.lpf.freq) out.push_back({202 + ch * 8, ch, "LPF frequency"});
        if (x.lpf.type != y.lpf.type) out.push_back({203 + ch * 8, ch, "LPF type"});
        if (b.delay(ch) != a.delay(ch)) out.push_back({204 + ch * 8, ch, "delay"});
        if (b.phaseInvert(ch) != a.phaseInvert(ch)) out.push_back({205 + ch * 8, ch, "polarity"});
    }
    for (int ch = 0; ch < OutputChannelCount; ++ch) {
        const OutputChannel& x = b.outputs[ch];
        const OutputChannel& y = a.outputs[ch];
        if (x.gain != y.gain) out.push_back({300 + ch * 8, ch, "gain"});
        if (x.outputOn != y.outputOn) out.push_back({301 + ch * 8, ch, "mute"});
        if (x.limiter.threshold != y.limiter.threshold)
            out.push_back({302 + ch * 8, ch, "limiter threshold"});
        if (x.limiter.attack != y.limiter.attack)
            out.push_back({303 + ch * 8, ch, "limiter attack"});
        if (x.limiter.release != y.limiter.release)
            out.push_back({304 + ch * 8, ch, "limiter release"});
    }
    if (b.main.volume != a.main.volume) out.push_back({400, MainChannelIndex, "volume"});
}

std::vector<Change> changes(const ChannelModel& before, const ChannelModel& after) {
    std::vector<Change> out;
    channelChanges(before, after, out);
    bandChanges(before, after, out);
    return out;
}

} // namespace

QString name(const ChannelModel& before, const ChannelModel& after, const ChannelNames& names) {
    const std::vector<Change> list = changes(before, after);
    if (list.empty()) return {};
    const QString channel = names ? names(list.front().channel) : QString();
    if (list.size() == 1) return channel + QLatin1Char(' ') + list.front().what;
    bool oneChannelsBands = true;
    for (const Change& c : list)
        oneChannelsBands = oneChannelsBands && c.channel == list.front().channel && c.id >= 100 &&
                           c.id < 100 + EqBandCount;
    return channel + (oneChannelsBands ? QStringLiteral(" EQ") : QStringLiteral(" settings"));
}

int mergeId(const ChannelModel& before, const ChannelModel& after) {
    const std::vector<Change> list = changes(before, after);
    return list.size() == 1 ? list.front().id : -1;
}

void queueChanges(const ChannelModel& b, const ChannelModel& a, MessageBuilders& builders) {
    for (int ch = 0; ch < OutputChannelCount; ++ch) {
        const OutputChannel& x = b.outputs[ch];
        const OutputChannel& y = a.outputs[ch];
        if (x.gain != y.gain || x.outputOn != y.outputOn || x.delay != y.delay ||
            x.phaseInvert != y.phaseInvert)
            builders.QueueBasicMessage(ch);
        if (x.limiter != y.limiter) builders.QueueLimiterMessage(ch);
    }
    const MainChannel& x = b.main;
    const MainChannel& y = a.main;
    if (x.volume != y.volume || x.delay != y.delay || x.phaseInvert != y.phaseInvert ||
        x.mainReserved != y.mainReserved)
        builders.QueueMainBasicMessage();
    for (int ch = 0; ch < ChannelCount; ++ch) {
        if (b.crossover(ch) != a.crossover(ch)) builders.QueueCrossoverMessage(ch);
    }
    for (int band = 0; band < EqBandCount; ++band) {
        if (b.band(band) != a.band(band)) builders.QueueEqBandMessage(band);
    }
}

} // namespace m7410::EditStep
