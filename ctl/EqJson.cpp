#include "ctl/EqJson.h"

#include "model/ValueTables.h"

#include <algorithm>

namespace m7410 {

namespace {

QJsonObject requestedJson(const TextFilter& f) {
    QJsonObject o{{"type", QString::fromStdString(f.typeText)},
                  {"freq", f.freq},
                  {"gain", f.gain},
                  {"line", f.line}};
    if (f.kind == TextFilterKind::Peaking) o.insert("q", f.q.value_or(1.0));
    return o;
}

template <typename Table> double at(const Table& table, int32_t index) {
    return table[static_cast<std::size_t>(
        std::clamp<int32_t>(index, 0, int32_t(table.size()) - 1))];
}

} // namespace

QJsonObject bandJson(const EqBand& b) {
    QJsonObject o{
        {"type", QString::fromLatin1(
                     EqTypeList[static_cast<std::size_t>(std::clamp(b.type, 0, EqTypeCount - 1))])},
        {"freq", at(FreqTable, b.freq)},
        {"gain", at(EqGainTable, b.gainInForce())}};
    if (b.type == EqTypePeaking) o.insert("q", at(QTable, b.q));
    return o;
}

QJsonArray bandsJson(const ChannelBands& bands) {
    QJsonArray out;
    for (const EqBand& b : bands)
        out.append(bandJson(b));
    return out;
}

QJsonObject importPlanJson(const FilterText& text, const FilterImport& plan) {
    QJsonArray filters;
    for (std::size_t i = 0; i < plan.requested.size(); ++i)
        filters.append(QJsonObject{{"band", static_cast<int>(i + 1)},
                                   {"requested", requestedJson(plan.requested[i])},
                                   {"unit", bandJson(plan.bands[i])}});
    QJsonArray skipped;
    for (const SkippedLine& s : text.skipped)
        skipped.append(QJsonObject{{"line", s.line},
                                   {"text", QString::fromStdString(s.text)},
                                   {"reason", QString::fromStdString(s.reason)}});
    QJsonObject o{{"filters", filters},
                  {"skipped", skipped},
                  {"bands", bandsJson(plan.bands)},
                  {"largestDifference",
                   QJsonObject{{"dB", plan.deviation.largestDb}, {"atHz", plan.deviation.atHz}}}};
    // The unit's EQ has no overall gain to put it in.
    if (text.preamp) o.insert("preamp", QJsonObject{{"dB", *text.preamp}, {"applied", false}});
    return o;
}

} // namespace m7410
