#include "ctl/ServeCommand.h"

#include "ctl/OwnerRoute.h"
#include "share/UnitServer.h"
#include "support/Clock.h"
#include "unit/Unit.h"

#include <memory>

namespace m7410 {

namespace {
constexpr int ServeSliceMs = 20;
// A unit that went away (unplugged, switched off) is looked for again this often.
constexpr int ReconnectEveryMs = 3000;

int fail(std::ostream& err, const std::string& line) {
    err << "m7410-ctl: " << line << std::endl;
    return ExitFailure;
}
} // namespace

int serveCommand(Unit& unit, Clock& clock, const Invocation& inv, std::ostream& out,
                 std::ostream& err, const std::function<bool()>& stop) {
    if (!inv.demo) {
        if (const std::optional<QString> owner = ownerSocketFor(inv))
            return fail(err, "the unit is served already, at " + owner->toStdString());
    }
    // Other programs' exchanges are theirs to show; the server's output is its log.
    unit.setFrontView(nullptr);
    const UnitResult<UnitStatus> opened =
        unit.await<UnitStatus>([&](UnitDone<UnitStatus> d) { unit.connect(std::move(d)); }, stop);
    if (!opened) return fail(err, "cannot serve: " + opened.error().message);
    UnitServer server(unit, clock);
    QString error;
    if (!server.listenForUnit(error)) {
        unit.await<Done>([&](UnitDone<Done> d) { unit.disconnect(std::move(d)); });
        return fail(err, "cannot serve: " + error.toStdString());
    }
    out << "serving " << opened.value().link << " at " << server.socketPath().toStdString()
        << " (stop with Ctrl-C or SIGTERM)" << std::endl;

    bool reported = false;
    int64_t nextTry = 0;
    while (!stop()) {
        unit.pumpWait(ServeSliceMs);
        if (unit.isConnected() || unit.isBusy()) {
            if (reported) out << "link open again" << std::endl;
            reported = false;
            continue;
        }
        if (!reported) {
            out << "link lost; trying again every " << ReconnectEveryMs / 1000 << " s"
                << std::endl;
            reported = true;
            nextTry = clock.nowMs() + ReconnectEveryMs;
        }
        if (clock.nowMs() >= nextTry) {
            nextTry = clock.nowMs() + ReconnectEveryMs;
            unit.connect([](UnitResult<UnitStatus>) {});
        }
    }
    server.close();
    unit.await<Done>([&](UnitDone<Done> d) { unit.disconnect(std::move(d)); });
    out << "stopped serving; the link is closed" << std::endl;
    return ExitOk;
}

} // namespace m7410
