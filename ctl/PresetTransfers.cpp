#include "ctl/PresetTransfers.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/StandardStreams.h"
#include "ctl/StreamedFile.h"
#include "presets/PresetFileReader.h"
#include "protocol/Frame.h"
#include "protocol/ParameterBlock.h"

#include <QJsonArray>

namespace m7410 {

namespace {

// How long an interrupted restore waits for its unit's answer to the stop, in slices.
constexpr int StopAnswerLimitMs = 2000;
constexpr int StopSliceMs = 10;

QJsonArray namesOf(const std::vector<std::string>& records) {
    QJsonArray out;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const std::optional<BlockData> block = blockDataFromText(records[k]);
        out.append(QJsonObject{{"slot", static_cast<int>(k + 1)},
                               {"name", QString::fromLatin1(block ? blockName(*block) : "")}});
    }
    return out;
}

std::string slotList(const std::vector<int>& numbers) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        out += (i ? ", " : "") + std::to_string(numbers[i]);
    return out;
}

// Which presets a stopped restore changed, so that the user knows what the unit holds now.
int interruptedRestore(CommandContext& ctx, const std::string& file) {
    const int written = ctx.unit.presetsWritten();
    std::string line = "interrupted: ";
    if (written == 0)
        line += "no preset was written; the unit keeps all 20";
    else if (written >= PresetSlotCount)
        line += "all 20 presets were written from " + file + ", not verified";
    else
        line += "presets 1-" + std::to_string(written) + " were written from " + file +
                ", presets " + std::to_string(written + 1) + "-20 keep what they held";
    ctx.fail(errorKindName(UnitErrorKind::Interrupted), line,
             {{"file", QString::fromStdString(file)}, {"written", written}});
    return ExitInterrupted;
}

// Asks the restore to stop and waits a bounded time for its end; false when none came.
bool awaitStoppedRestore(CommandContext& ctx, const std::optional<UnitResult<RestoreReport>>& outcome) {
    constexpr int AnswerSlices = StopAnswerLimitMs / StopSliceMs;
    if (!ctx.unit.stopRestore()) return false;
    for (int i = 0; i < AnswerSlices && !outcome; ++i)
        ctx.unit.pumpWait(StopSliceMs);
    return outcome.has_value();
}

// The owner did not say how the restore ended: what is known, and that it may go on.
int unansweredStop(CommandContext& ctx, const std::string& file) {
    const int written = ctx.unit.presetsWritten();
    ctx.fail(errorKindName(UnitErrorKind::Interrupted),
             "interrupted: the program serving the unit did not answer; it may still be writing "
             "presets from " + file + " (" + std::to_string(written) +
                 " were written when it last told)",
             {{"file", QString::fromStdString(file)}, {"written", written}, {"answered", false}});
    return ExitInterrupted;
}

// The file the unit works on: the one named, or for "-" a temporary one standing in for the
// stream (stdin copied into it, or stdout to be given its bytes).
struct Target {
    std::string path;
    std::optional<StreamedFile> stream;
    std::string shown; // the name messages use

    // The unit's message, naming the stream rather than the temporary file.
    std::string named(const std::string& message) const {
        return stream ? stream->named(message, shown) : message;
    }
};

std::optional<Target> targetFor(CommandContext& ctx, const std::string& file, bool input) {
    if (!isStandardStream(file)) return Target{file, std::nullopt, file};
    std::string error;
    const std::string shown = input ? "standard input" : "standard output";
    std::optional<StreamedFile> stream =
        input ? StreamedFile::forInput(ctx.in, static_cast<std::size_t>(MaxPresetFileBytes), error)
              : StreamedFile::forOutput(error);
    if (!stream) {
        ctx.fail(
            errorKindName(input ? UnitErrorKind::FileNotReadable : UnitErrorKind::FileNotWritten),
            shown + ": " + error);
        return std::nullopt;
    }
    const std::string path = stream->path();
    return Target{path, std::move(stream), shown};
}

int failed(CommandContext& ctx, const Target& target, const UnitError& e) {
    return ctx.fail(errorKindName(e.kind), target.named(e.message));
}

// The file written for standard output, onto it.
int delivered(CommandContext& ctx, const Target& target) {
    if (target.stream->copyTo(ctx.out)) return ExitOk;
    return ctx.fail(errorKindName(UnitErrorKind::FileNotWritten),
                    "standard output could not be written");
}

} // namespace

int backupCommand(CommandContext& ctx, const std::string& file) {
    const std::optional<Target> target = targetFor(ctx, file, false);
    if (!target) return ExitFailure;
    ctx.view.track("reading presets", PresetSlotCount, [&] { return ctx.unit.presetsArrived(); });
    const UnitResult<std::vector<std::string>> r =
        ctx.await<std::vector<std::string>>([&](UnitDone<std::vector<std::string>> done) {
            ctx.unit.backup(target->path, std::move(done));
        });
    if (!r) return failed(ctx, *target, r.error());
    if (target->stream) return delivered(ctx, *target);
    if (ctx.json)
        ctx.printJson({{"file", QString::fromStdString(file)}, {"presets", namesOf(r.value())}});
    else
        ctx.out << "backed up 20 presets to " << file << '\n';
    return ExitOk;
}

int restoreCommand(CommandContext& ctx, const std::string& file, bool verify) {
    // Written, then read back: one bar over both halves.
    ctx.view.track(verify ? "restoring and verifying" : "restoring",
                   verify ? 2 * PresetSlotCount : PresetSlotCount,
                   [&] { return ctx.unit.presetsWritten() + ctx.unit.presetsArrived(); });
    const std::optional<Target> target = targetFor(ctx, file, true);
    if (!target) return ExitFailure;
    // The outcome outlives an interruption: the unit (or its owner) is asked to stop after the
    // preset in flight, and its answer tells which presets were written.
    auto outcome = std::make_shared<std::optional<UnitResult<RestoreReport>>>();
    UnitResult<RestoreReport> r = ctx.await<RestoreReport>([&](UnitDone<RestoreReport> done) {
        ctx.unit.restore(target->path, verify, [outcome, done](UnitResult<RestoreReport> result) {
            outcome->emplace(result);
            done(std::move(result));
        });
    });
    if (!r && r.error().kind == UnitErrorKind::Interrupted && !*outcome) {
        if (!awaitStoppedRestore(ctx, *outcome)) return unansweredStop(ctx, target->shown);
        r = **outcome;
    }
    if (!r) {
        if (r.error().kind == UnitErrorKind::Interrupted)
            return interruptedRestore(ctx, target->shown);
        return failed(ctx, *target, r.error());
    }
    const RestoreReport& report = r.value();
    QJsonObject summary{{"file", QString::fromStdString(file)},
                        {"restored", PresetSlotCount},
                        {"presets", namesOf(report.written)}};
    if (!report.verified) {
        summary.insert("verified", QJsonValue());
        if (ctx.json)
            ctx.printJson(summary);
        else
            ctx.out << "restored 20 presets, not verified\n";
        return ExitOk;
    }
    summary.insert("verified", *report.verified);
    QJsonArray differingJson;
    for (int slot : report.differing)
        differingJson.append(slot);
    summary.insert("differing", differingJson);
    if (!report.differing.empty()) {
        ctx.fail(errorKindName(UnitErrorKind::NotVerified),
                 std::string("restore not verified: ") +
                     (report.differing.size() == 1 ? "preset " : "presets ") +
                     slotList(report.differing) + " read back differently from " + target->shown,
                 summary);
        return ExitNotVerified;
    }
    if (ctx.json)
        ctx.printJson(summary);
    else
        ctx.out << "restored 20 presets, verified\n";
    return ExitOk;
}

int saveCurrentCommand(CommandContext& ctx, const std::string& file) {
    const std::optional<Target> target = targetFor(ctx, file, false);
    if (!target) return ExitFailure;
    const UnitResult<std::string> r = ctx.await<std::string>(
        [&](UnitDone<std::string> done) { ctx.unit.saveCurrent(target->path, std::move(done)); });
    if (!r) return failed(ctx, *target, r.error());
    if (target->stream) return delivered(ctx, *target);
    if (ctx.json)
        ctx.printJson(
            {{"file", QString::fromStdString(file)}, {"name", QString::fromLatin1(r.value())}});
    else
        ctx.out << "saved the current set (" << consoleText(r.value()) << ") to " << file << '\n';
    return ExitOk;
}

int loadCurrentCommand(CommandContext& ctx, const std::string& file) {
    const std::optional<Target> target = targetFor(ctx, file, true);
    if (!target) return ExitFailure;
    const UnitResult<std::string> r = ctx.await<std::string>(
        [&](UnitDone<std::string> done) { ctx.unit.loadCurrent(target->path, std::move(done)); });
    if (!r) return failed(ctx, *target, r.error());
    const std::string name = consoleText(r.value());
    if (ctx.json)
        ctx.printJson(
            {{"file", QString::fromStdString(file)}, {"name", QString::fromStdString(name)}});
    else
        ctx.out << "loaded " << target->shown << " into the current set (" << name << ")\n";
    return ExitOk;
}

} // namespace m7410
