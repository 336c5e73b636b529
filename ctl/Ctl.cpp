#include "ctl/Ctl.h"

#include "ctl/EqCommands.h"
#include "ctl/EqFitCommand.h"
#include "ctl/HelpText.h"
#include "ctl/ParameterCommands.h"
#include "ctl/PresetTransfers.h"
#include "link/ConnectionAssembly.h"
#include "protocol/Frame.h"

#include <QJsonArray>

namespace m7410 {

namespace {
// The first USB scan runs once events are processed; it takes milliseconds.
constexpr int ScanLimitMs = 2000;
// A recall times out after 10 s in the engine; the wait allows for that.
constexpr int RecallLimitMs = 10000 + 1000;
// The store acknowledgement comes with the unit's reply latency; the poll time-out is the
// longest the unit may stay silent.
constexpr int StoreLimitMs = 2000;
// The status poll goes out every 500 ms.
constexpr int StatusLimitMs = 1500;
const std::string Saved = "Successfully saved.";
} // namespace

Ctl::Ctl(UnitLink link, ConsoleView& view, std::ostream& out, std::ostream& err)
    : ctx{std::move(link), view, out, err}, presets(ctx.session()), files(ctx.session()) {}

Ctl::~Ctl() = default;

UnitLink Ctl::linkOf(ConnectionAssembly& engine) {
    ConnectionAssembly* e = &engine;
    return {engine.session, engine.connection,
            [e] {
                Clock& clock = e->session.clock;
                const int64_t end = clock.nowMs() + ScanLimitMs;
                while (e->hidctl.scanCount() == 0 && clock.nowMs() < end)
                    clock.PumpWait(10);
            },
            [e] {
                if (e->serial.currentPortNumber == Connection::HidPortNumber)
                    return "USB " + HidUnitPicker::UnitName.toStdString();
                return "serial " + e->serial.currentPortLocation.toStdString();
            },
            [e] { return e->serial.currentPortLocation.toStdString(); }};
}

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
    case Command::EqFit:
        return eqFitWithoutUnit(*parsed.invocation, out, err);
    default:
        return std::nullopt;
    }
}

int Ctl::run(const Invocation& inv) {
    ctx.json = inv.json;
    if (!connect()) return ExitFailure;
    const int code = dispatch(inv);
    ctx.view.finishProgress();
    if (ctx.session().linkOpen != 0) ctx.link.connection.CloseLink();
    return code;
}

bool Ctl::connect() {
    Session& s = ctx.session();
    ConsoleView& view = ctx.view;
    ctx.link.settle();
    const std::size_t messages = view.messages.size();
    ctx.link.connection.Button3Click();
    if (s.linkOpen == 0) {
        // The engine said why ("No port.", or a unit this user may not open).
        const std::string why =
            view.messages.size() > messages ? view.messages.back() : std::string("No port.");
        const std::string port = ctx.link.serialPort();
        if (why == "No port." && port.empty()) {
            ctx.fail("no unit found: none on USB and no serial port (give one with --port PATH)");
        } else if (why == "No port.") {
            ctx.fail("no unit found: none on USB, and the serial port " + port +
                     " could not be opened");
        } else {
            ctx.fail(why);
        }
        return false;
    }
    const bool synchronised =
        ctx.waitUntil([&] { return view.nameLists > 0 && view.systemRecords > 0; }, StartUpLimitMs);
    if (!synchronised) {
        ctx.fail("no answer from the unit on " + ctx.link.describe() +
                 " (the start-up exchange timed out)");
        if (s.linkOpen != 0) ctx.link.connection.CloseLink();
        return false;
    }
    return true;
}

int Ctl::dispatch(const Invocation& inv) {
    switch (inv.command) {
    case Command::Status:
        return status();
    case Command::Backup:
        return backupCommand(ctx, files, inv.file);
    case Command::Restore:
        return restoreCommand(ctx, files, inv.file, inv.verify);
    case Command::SaveCurrent:
        return saveCurrentCommand(ctx, files, inv.file);
    case Command::LoadCurrent:
        return loadCurrentCommand(ctx, files, inv.file);
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
    case Command::EqFit:
        return eqFitCommand(ctx, inv);
    case Command::Help:
    case Command::Version:
        break;
    }
    return ExitOk;
}

int Ctl::status() {
    Session& s = ctx.session();
    // "Bass +" comes with the status poll, which starts with the synchronisation.
    const bool bassKnown = ctx.waitUntil([&] { return ctx.view.statusReplies > 0; }, StatusLimitMs);
    if (s.linkOpen == 0) return ctx.fail("the link to the unit was lost");
    const std::string bass = bassKnown ? (ctx.view.bassOn ? "on" : "off") : "unknown";
    const std::string current = consoleText(s.currentPresetName);
    if (ctx.json) {
        QJsonArray names;
        for (int k = 0; k < PresetSlotCount; ++k)
            names.append(
                QJsonObject{{"slot", k + 1}, {"name", QString::fromLatin1(s.presetNames[k])}});
        QJsonObject o{{"link", QString::fromStdString(ctx.link.describe())},
                      {"currentPreset", QJsonObject{{"number", s.currentPresetNumber},
                                                    {"name", QString::fromStdString(current)}}},
                      {"presets", names}};
        o.insert("bassOn", bassKnown ? QJsonValue(ctx.view.bassOn) : QJsonValue());
        ctx.printJson(o);
        return ExitOk;
    }
    ctx.out << "link: " << ctx.link.describe() << '\n'
            << "current preset: " << s.currentPresetNumber << ' ' << current << '\n'
            << "bass +: " << bass << '\n'
            << "presets:\n";
    for (int k = 0; k < PresetSlotCount; ++k) {
        ctx.out << (k + 1 < 10 ? "   " : "  ") << k + 1 << ' ' << consoleText(s.presetNames[k])
                << '\n';
    }
    return ExitOk;
}

int Ctl::recall(int slot) {
    Session& s = ctx.session();
    const int records = ctx.view.systemRecords;
    presets.loadClicked(slot - 1);
    if (!ctx.waitUntil([&] { return s.recallPending == 0; }, RecallLimitMs) ||
        ctx.view.disconnectedShown > 0)
        return ctx.fail("no answer from the unit to the recall of preset " + std::to_string(slot));
    // The unit's own number for its set in force follows with the system record.
    ctx.waitUntil([&] { return ctx.view.systemRecords > records; }, StoreLimitMs);
    const std::string name = consoleText(s.currentPresetName);
    if (ctx.json) {
        ctx.printJson({{"recalled", slot},
                       {"currentPreset", QJsonObject{{"number", s.currentPresetNumber},
                                                     {"name", QString::fromStdString(name)}}}});
    } else {
        ctx.out << "recalled preset " << slot << ": " << name << '\n';
    }
    return ExitOk;
}

int Ctl::store(int slot, const std::string& name) {
    const auto saved = [&] {
        for (const std::string& m : ctx.view.messages)
            if (m == Saved) return true;
        return false;
    };
    presets.saveClicked(slot - 1, name);
    if (!ctx.waitUntil(saved, StoreLimitMs))
        return ctx.fail("the unit did not confirm storing preset " + std::to_string(slot));
    if (ctx.json)
        ctx.printJson({{"stored", slot}, {"name", QString::fromLatin1(name)}});
    else
        ctx.out << "stored preset " << slot << ": " << name << '\n';
    return ExitOk;
}

} // namespace m7410
