#include "ctl/Ctl.h"

#include "ctl/BatchRun.h"
#include "ctl/DiffWithUnit.h"
#include "ctl/EqCommands.h"
#include "ctl/FileCommands.h"
#include "ctl/EqFitCommand.h"
#include "ctl/HelpText.h"
#include "ctl/JsonOutput.h"
#include "ctl/ParameterCommands.h"
#include "ctl/PresetTransfers.h"
#include "ctl/StandardStreams.h"
#include "link/SerialPortDiagnosis.h"
#include "ctl/WatchCommand.h"
#include "protocol/Frame.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>

#include <fstream>
#include <memory>
#include <unistd.h>

namespace m7410 {

Ctl::Ctl(UnitAccess& unit, ConsoleView& view, std::ostream& out, std::ostream& err,
         std::istream& in)
    : ctx{unit, view, out, err, in} {}

std::optional<int> Ctl::withoutUnit(const ParsedCommandLine& parsed, std::ostream& out,
                                    std::ostream& err, std::istream& in) {
    if (!parsed.invocation) {
        err << "m7410-ctl: " << parsed.error << "\nTry 'm7410-ctl --help'.\n";
        if (parsed.json) printJsonLine(out, errorJson(ErrorKind::Usage, parsed.error));
        return ExitUsage;
    }
    return offline(*parsed.invocation, {in, out, err, parsed.invocation->json});
}

std::optional<int> Ctl::offline(const Invocation& inv, OfflineIo io) {
    switch (inv.command) {
    case Command::Help:
        io.out << helpText();
        return ExitOk;
    case Command::Version:
        io.out << "m7410-ctl " << M7410_VERSION << '\n';
        return ExitOk;
    case Command::EqImport:
        if (!inv.dryRun) return std::nullopt;
        return eqPreviewCommand(inv.channel, inv.file, io);
    case Command::Show:
        return showCommand(inv.file, io);
    case Command::Diff:
        if (inv.otherFile.empty()) return std::nullopt;
        return diffFilesCommand(inv.file, inv.otherFile, io);
    case Command::EqFit:
        return eqFitWithoutUnit(inv, io.out, io.err);
    default:
        return std::nullopt;
    }
}

int Ctl::run(const Invocation& inv) {
    ctx.json = inv.json;
    ctx.view.setQuiet(inv.quiet);
    if (!connect()) return ExitFailure;
    const int code = inv.command == Command::Batch ? batch(inv) : dispatch(inv);
    ctx.view.finishProgress();
    // Stopped part-way: the link closes at once; otherwise the replies still due come in first.
    if (ctx.interrupted()) return code == ExitOk ? ExitOk : ExitInterrupted;
    ctx.unit.await<Done>([&](UnitDone<Done> done) { ctx.unit.disconnect(std::move(done)); });
    return code;
}

bool Ctl::connect() {
    const UnitResult<UnitStatus> r = ctx.await<UnitStatus>(
        [&](UnitDone<UnitStatus> done) { ctx.unit.connect(std::move(done)); });
    if (r) return true;
    const UnitError& e = r.error();
    const std::string port = ctx.unit.serialPort();
    const std::string_view kind = errorKindName(e.kind);
    if (e.kind == UnitErrorKind::NoPort && port.empty()) {
        ctx.fail(kind, "no unit found: none on USB and no serial port (give one with --port PATH)");
    } else if (e.kind == UnitErrorKind::NoPort) {
        // Why the port would not open is told by the system, not by the engine.
        const SerialPortProblem why = diagnoseSerialPort(port);
        ctx.fail(kind, "no unit found: none on USB, and " + why.text,
                 {{"port", QJsonObject{{"path", QString::fromStdString(port)},
                                       {"problem", problemKindName(why.kind)}}}});
    } else if (e.kind == UnitErrorKind::TimeOut) {
        ctx.fail(kind, "no answer from the unit on " + ctx.unit.status().link +
                           " (the start-up exchange timed out)");
    } else {
        ctx.fail(e);
    }
    return false;
}

int Ctl::dispatch(const Invocation& inv) {
    switch (inv.command) {
    case Command::Status:
        return status();
    case Command::Backup:
        return backupCommand(ctx, inv.file);
    case Command::Restore:
        return restoreCommand(ctx, inv.file, inv.verify);
    case Command::SaveCurrent:
        return saveCurrentCommand(ctx, inv.file);
    case Command::LoadCurrent:
        return loadCurrentCommand(ctx, inv.file);
    case Command::Recall:
        return recall(inv.slot);
    case Command::Store:
        return store(inv.slot, inv.name);
    case Command::Get:
        return getCommand(ctx, inv.path);
    case Command::Set:
        return setCommand(ctx, inv.path, inv.value);
    case Command::EqImport:
        return eqImportCommand(ctx, inv.channel, inv.file, ctx.in);
    case Command::EqExport:
        return eqExportCommand(ctx, inv.channel);
    case Command::Diff:
        return diffWithUnitCommand(ctx, inv.file);
    case Command::EqFit:
        return eqFitCommand(ctx, inv);
    case Command::Watch:
        return watchCommand(ctx);
    case Command::Serve: // holds the unit itself: main() runs it
    case Command::List:  // needs no unit: main() runs it
    case Command::Help:
    case Command::Version:
    case Command::Show:
    case Command::Batch:
        break;
    }
    return ExitOk;
}

int Ctl::batch(const Invocation& inv) {
    std::ifstream file;
    const bool fromStandardInput = inv.file.empty() || isStandardStream(inv.file);
    if (!fromStandardInput) {
        // A pipe or a device given with -f would be waited on, not read.
        const QFileInfo info(QString::fromStdString(inv.file));
        if (info.exists() && !info.isFile())
            return ctx.fail(ErrorKind::File, inv.file + ": not a regular file");
        file.open(inv.file);
        if (!file) return ctx.fail(ErrorKind::File, inv.file + ": cannot be read");
    }
    // The tool's own standard input may be a pipe still being written: its lines are taken
    // as they come. A file, or the stream a test gives, is there whole.
    std::unique_ptr<BatchInput> input;
    if (fromStandardInput && &ctx.in == &std::cin)
        input = std::make_unique<DescriptorInput>(STDIN_FILENO, [this] {
            // The engine's timers and the port keep running while the next line is awaited.
            QCoreApplication::processEvents(QEventLoop::AllEvents, DescriptorInput::WaitSliceMs);
            return !ctx.interrupted();
        });
    else
        input = std::make_unique<StreamInput>(fromStandardInput ? ctx.in : file);
    const auto as = [&](bool json, const std::function<int()>& command) {
        ctx.json = json;
        const int code = command();
        ctx.view.finishProgress();
        ctx.json = inv.json;
        return code;
    };
    BatchCommands commands;
    commands.run = [&](const Invocation& line) {
        if (fromStandardInput && readsStandardInput(line)) {
            as(line.json, [&] {
                return ctx.fail(ErrorKind::Usage,
                                "standard input holds the batch's commands; name a file");
            });
            return static_cast<int>(ExitUsage);
        }
        if (const std::optional<int> answered =
                offline(line, {ctx.in, ctx.out, ctx.err, line.json}))
            return *answered;
        return as(line.json, [&] { return dispatch(line); });
    };
    commands.runSets = [&](const std::vector<Invocation>& sets) {
        return as(inv.json, [&] { return setCommands(ctx, sets); });
    };
    return runBatch(*input, {inv.keepGoing, inv.json}, ctx.out, ctx.err, commands);
}

int Ctl::status() {
    // "Bass +" comes with the status poll, which starts with the synchronisation.
    const UnitResult<UnitStatus> r = ctx.await<UnitStatus>(
        [&](UnitDone<UnitStatus> done) { ctx.unit.readStatus(std::move(done)); });
    if (!r) return ctx.fail(r.error());
    const UnitStatus& st = r.value();
    const std::string bass = st.bassOn ? (*st.bassOn ? "on" : "off") : "unknown";
    const std::string current = consoleText(st.currentName);
    if (ctx.json) {
        QJsonArray names;
        for (int k = 0; k < PresetSlotCount; ++k)
            names.append(
                QJsonObject{{"slot", k + 1},
                            {"name", QString::fromLatin1(st.names[static_cast<std::size_t>(k)])}});
        QJsonObject o{{"link", QString::fromStdString(st.link)},
                      {"currentPreset", QJsonObject{{"number", st.currentPreset},
                                                    {"name", QString::fromStdString(current)}}},
                      {"presets", names}};
        o.insert("bassOn", st.bassOn ? QJsonValue(*st.bassOn) : QJsonValue());
        ctx.printJson(o);
        return ExitOk;
    }
    ctx.out << "link: " << st.link << '\n'
            << "current preset: " << st.currentPreset << ' ' << current << '\n'
            << "bass +: " << bass << '\n'
            << "presets:\n";
    for (int k = 0; k < PresetSlotCount; ++k) {
        ctx.out << (k + 1 < 10 ? "   " : "  ") << k + 1 << ' '
                << consoleText(st.names[static_cast<std::size_t>(k)]) << '\n';
    }
    return ExitOk;
}

int Ctl::recall(int slot) {
    const UnitResult<UnitStatus> r = ctx.await<UnitStatus>(
        [&](UnitDone<UnitStatus> done) { ctx.unit.recall(slot, std::move(done)); });
    if (!r) return ctx.fail(r.error());
    const std::string name = consoleText(r.value().currentName);
    if (ctx.json) {
        ctx.printJson({{"recalled", slot},
                       {"currentPreset", QJsonObject{{"number", r.value().currentPreset},
                                                     {"name", QString::fromStdString(name)}}}});
    } else {
        ctx.out << "recalled preset " << slot << ": " << name << '\n';
    }
    return ExitOk;
}

int Ctl::store(int slot, const std::string& name) {
    const UnitResult<Done> r =
        ctx.await<Done>([&](UnitDone<Done> done) { ctx.unit.store(slot, name, std::move(done)); });
    if (!r) return ctx.fail(r.error());
    if (ctx.json)
        ctx.printJson({{"stored", slot}, {"name", QString::fromLatin1(name)}});
    else
        ctx.out << "stored preset " << slot << ": " << name << '\n';
    return ExitOk;
}

} // namespace m7410
