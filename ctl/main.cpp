// m7410-ctl: the processor's presets and parameters from the command line, without a window.
#include "ctl/CommandLine.h"
#include "ctl/ConsoleView.h"
#include "ctl/AllUnits.h"
#include "ctl/Ctl.h"
#include "ctl/ListCommand.h"
#include "ctl/OwnerRoute.h"
#include "ctl/ServeCommand.h"
#include "ctl/ThroughOwner.h"
#include "ctl/StopSignals.h"
#include "demo/DemoUnit.h"
#include "link/ConnectionAssembly.h"
#include "link/HidapiBackend.h"
#include "support/RealClock.h"
#include "unit/Unit.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <iostream>
#include <memory>
#include <unistd.h>

int main(int argc, char* argv[]) {
    using namespace m7410;
    const ParsedCommandLine parsed =
        parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const std::optional<int> answered = Ctl::withoutUnit(parsed, std::cout, std::cerr))
        return *answered;
    const Invocation& invocation = *parsed.invocation;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("m7410-ctl");
    QCoreApplication::setApplicationVersion(M7410_VERSION);
    // Failures are reported as one line each; the engine's diagnostics stay available through
    // QT_LOGGING_RULES, which overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("m7410.*=false"));

    RealClock clock;
    if (invocation.command == Command::List)
        return listCommand(invocation, clock, std::cout, std::cerr);
    std::unique_ptr<DemoUnit> demo;
    std::unique_ptr<HidapiBackend> system;
    HidBackend* hid = nullptr;
    if (invocation.demo) {
        demo = std::make_unique<DemoUnit>(clock, true);
        hid = &demo->backend();
    } else {
        system = std::make_unique<HidapiBackend>();
        hid = system.get();
    }
    ConsoleView view(std::cerr, ::isatty(STDERR_FILENO) == 1);
    watchStopSignals();
    if (invocation.all)
        return runOnAllUnits(invocation, clock, view, std::cout, std::cerr, stopRequested);
    // A unit another program holds is reached through it; a demo unit is this program's own.
    if (!invocation.demo && invocation.command != Command::Serve) {
        if (const std::optional<QString> owner = ownerSocketFor(invocation)) {
            if (!invocation.direct)
                return runThroughOwner(*owner, invocation, clock, view, std::cout, std::cerr,
                                       stopRequested);
            std::cerr << "m7410-ctl: another program holds the unit and serves it at "
                      << owner->toStdString() << "; leave out --direct to go through it\n";
            return ExitFailure;
        }
        if (!invocation.unit.empty()) {
            std::cerr << "m7410-ctl: no program serves the unit " << invocation.unit
                      << " (m7410-ctl list shows the units served)\n";
            return ExitFailure;
        }
    }
    int code = ExitFailure;
    {
        Unit unit(clock);
        ConnectionAssembly engine(clock, unit, *hid);
        QStringList ports;
        for (const std::string& port : invocation.ports)
            ports << QString::fromStdString(port);
        if (!ports.isEmpty()) engine.portList.setExtraPorts(ports);
        unit.attach(linkOf(engine));
        unit.setFrontView(&view);
        if (invocation.command == Command::Serve) {
            code = serveCommand(unit, clock, invocation, std::cout, std::cerr, stopRequested);
        } else {
            Ctl ctl(unit, view, std::cout, std::cerr);
            ctl.setInterrupted(stopRequested);
            code = ctl.run(invocation);
        }
    }
    return code;
}
