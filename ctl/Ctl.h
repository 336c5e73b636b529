// m7410-ctl's commands on a connected engine: connecting, then one command, then closing.
#pragma once

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "presets/DevicePresets.h"
#include "presets/PresetFiles.h"

#include <optional>

namespace m7410 {

class ConnectionAssembly;

class Ctl {
public:
    // How long the start-up may take in all: its own time-outs (the names within 2500 ms),
    // then the system-record reply within the poll time-out of 2000 ms.
    static constexpr int StartUpLimitMs = 2500 + 2000 + 500;

    Ctl(UnitLink link, ConsoleView& view, std::ostream& out, std::ostream& err);
    ~Ctl();
    Ctl(const Ctl&) = delete;
    Ctl& operator=(const Ctl&) = delete;

    // The engine the window owns, seen as the link a command drives.
    static UnitLink linkOf(ConnectionAssembly& engine);

    // Answers what needs no unit: a wrong command line (usage on standard error), --help,
    // --version and the preview of an EQ import (--dry-run). Nothing when the command needs the
    // unit.
    static std::optional<int> withoutUnit(const ParsedCommandLine& parsed, std::ostream& out,
                                          std::ostream& err);

    // Connects, runs the command and closes the link; the exit code.
    int run(const Invocation& invocation);

private:
    // The connection button's start-up: current block, names, system record.
    bool connect();
    int dispatch(const Invocation& invocation);
    int status();
    int recall(int slot);
    int store(int slot, const std::string& name);

    CommandContext ctx;
    DevicePresets presets;
    PresetFiles files;
};

} // namespace m7410
