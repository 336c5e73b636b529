#include "ctl/Ctl.h"

#include "ctl/EqCommands.h"
#include "ctl/HelpText.h"
#include "ctl/ParameterCommands.h"
#include "ctl/PresetTransfers.h"
#include "ctl/WatchCommand.h"
#include "protocol/Frame.h"

#include <QJsonArray>

namespace m7410 {

Ctl::Ctl(UnitAccess& unit, ConsoleView& view, std::ostream& out, std::ostream& err)
    : ctx{unit, view, out, err} {}

std::optional<int> Ctl::withoutUnit(const ParsedCommandLine& parsed, std::ostream& out,
                                    std::ostream& err) {
    if (!parsed.invocation) {
        err << "m7410-ctl: " << parsed.error << "\nTry 'm7410-ctl --help'.\n";
        return ExitUsage;
    }
    switch (parsed.invocation->command) {
    case Command::Help:
        out << helpText();
        return ExitOk;
    case Command::Version:
        out << "m7410-ctl " << M7410_VERSION << '\n';
        return ExitOk;
    case Command::EqImport:
        if (!parsed.invocation->dryRun) return std::nullopt;
        return eqPreviewCommand(parsed.invocation->channel, parsed.invocation->file, out, err);
    default:
        return std::nullopt;
    }
}

int Ctl::run(const Invocation& inv) {
    ctx.json = inv.json;
    if (!connect()) return ExitFailure;
    const int code = dispatch(inv);
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
    if (e.kind == UnitErrorKind::NoPort && port.empty()) {
        ctx.fail("no unit found: none on USB and no serial port (give one with --port PATH)");
    } else if (e.kind == UnitErrorKind::NoPort) {
        ctx.fail("no unit found: none on USB, and the serial port " + port +
                 " could not be opened");
    } else if (e.kind == UnitErrorKind::TimeOut) {
        ctx.fail("no answer from the unit on " + ctx.unit.status().link +
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
        return eqImportCommand(ctx, inv.channel, inv.file);
    case Command::EqExport:
        return eqExportCommand(ctx, inv.channel);
    case Command::Watch:
        return watchCommand(ctx);
    case Command::Serve: // holds the unit itself: main() runs it
    case Command::List:  // needs no unit: main() runs it
    case Command::Help:
    case Command::Version:
        break;
    }
    return ExitOk;
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
