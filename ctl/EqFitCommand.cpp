#include "ctl/EqFitCommand.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/EqCommands.h"
#include "fit/EqFit.h"
#include "fit/FitReport.h"
#include "model/ChannelModel.h"
#include "model/ValueTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace m7410 {

namespace {

struct Responses {
    Response measured;
    Response target;
};

// Both files, or the one-line reason (naming the file, and the line when there is one).
std::optional<Responses> readResponses(const EqFitArguments& a, std::ostream& err) {
    Responses r{readResponseFile(a.measurement), {}};
    if (!r.measured.ok()) {
        err << "m7410-ctl: " << r.measured.error << '\n';
        return std::nullopt;
    }
    if (!a.target.empty()) {
        r.target = readResponseFile(a.target);
        if (!r.target.ok()) {
            err << "m7410-ctl: " << r.target.error << " (the target)\n";
            return std::nullopt;
        }
    }
    return r;
}

FitOptions optionsOf(const EqFitArguments& a) {
    FitOptions o;
    o.fromHz = a.fromHz;
    o.toHz = a.toHz;
    o.maxBoostDb = a.maxBoostDb;
    o.cutOnly = a.cutOnly;
    o.keep = a.keep;
    return o;
}

std::optional<EqFit> fitOf(const Invocation& inv, const ChannelBands& current,
                           std::ostream& err) {
    const std::optional<Responses> r = readResponses(inv.fit, err);
    if (!r) return std::nullopt;
    EqFit fit = fitChannel(r->measured, r->target, current, optionsOf(inv.fit));
    if (!fit.error.empty()) {
        err << "m7410-ctl: " << inv.fit.measurement << ": " << fit.error << '\n';
        return std::nullopt;
    }
    return fit;
}

double rounded(double v, double decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

// The keys scripts read, and nothing else; band values are the table values.
QJsonObject fitJson(const EqFit& fit, const EqFitArguments& a) {
    QJsonArray bands;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const EqBand& b = fit.bands[static_cast<std::size_t>(row)];
        bands.append(QJsonObject{
            {"band", row + 1},
            {"type", QString::fromLatin1(EqTypeList[std::clamp(b.type, 0, EqTypeCount - 1)])},
            {"freq", FreqTable[static_cast<std::size_t>(std::clamp(b.freq, 0, FreqCount - 1))]},
            {"gain", EqGainTable[static_cast<std::size_t>(
                         std::clamp(b.gainInForce(), 0, EqGainCount - 1))]},
            {"q", QTable[static_cast<std::size_t>(std::clamp(b.q, 0, QCount - 1))]}});
    }
    return {{"bands", bands},
            {"rms_before", rounded(fit.before.rms, 3)},
            {"rms_after", rounded(fit.after.rms, 3)},
            {"rms_fit_then_round", rounded(fit.fitThenRound.rms, 3)},
            {"max_error", rounded(fit.after.maxError, 3)},
            {"max_error_freq", rounded(fit.after.maxErrorHz, 1)},
            {"from", a.fromHz},
            {"to", a.toHz}};
}

void report(const EqFit& fit, const Invocation& inv, std::ostream& out) {
    if (inv.json) {
        out << QJsonDocument(fitJson(fit, inv.fit)).toJson(QJsonDocument::Compact).toStdString()
            << '\n';
        return;
    }
    out << channelCaption(inv.channel) << " EQ fitted to " << inv.fit.measurement << " over "
        << inv.fit.fromHz << " .. " << inv.fit.toHz << " Hz (" << fit.after.points
        << " points), target "
        << (inv.fit.target.empty() ? std::string("flat") : inv.fit.target) << ":\n"
        << fitReportText(fit);
}

} // namespace

std::optional<int> eqFitWithoutUnit(const Invocation& inv, std::ostream& out, std::ostream& err) {
    if (inv.dryRun) {
        // No unit: the bands a fit leaves alone, and kept bands, are the start set's.
        const ChannelModel start;
        ChannelBands current;
        for (int row = 0; row < EqRowsPerChannel; ++row)
            current[static_cast<std::size_t>(row)] = start.band(bandAddress(inv.channel, row));
        const std::optional<EqFit> fit = fitOf(inv, current, err);
        if (!fit) return ExitFailure;
        report(*fit, inv, out);
        return ExitOk;
    }
    if (!readResponses(inv.fit, err)) return ExitFailure;
    return std::nullopt;
}

int eqFitCommand(CommandContext& ctx, const Invocation& inv) {
    const std::optional<EqFit> fit = fitOf(inv, channelBands(ctx, inv.channel), ctx.err);
    if (!fit) return ExitFailure;
    report(*fit, inv, ctx.out);
    if (const int code = applyChannelBands(ctx, inv.channel, fit->bands); code != ExitOk)
        return code;
    if (!inv.json) ctx.out << "applied to the " << channelCaption(inv.channel) << " EQ\n";
    return ExitOk;
}

} // namespace m7410
