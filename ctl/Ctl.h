// m7410-ctl's commands on a unit: connecting, then one command, then closing.
#pragma once

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"

#include <optional>

namespace m7410 {

class Ctl {
public:
    Ctl(UnitAccess& unit, ConsoleView& view, std::ostream& out, std::ostream& err);
    Ctl(const Ctl&) = delete;
    Ctl& operator=(const Ctl&) = delete;

    // Answers what needs no unit: a wrong command line (usage on standard error), --help,
    // --version and the preview of an EQ import (--dry-run). Nothing when the command needs the
    // unit.
    static std::optional<int> withoutUnit(const ParsedCommandLine& parsed, std::ostream& out,
                                          std::ostream& err);

    // What tells the tool to stop waiting (a signal's flag).
    void setInterrupted(std::function<bool()> check) { ctx.interrupted = std::move(check); }

    // Connects, runs the command and closes the link; the exit code.
    int run(const Invocation& invocation);

private:
    bool connect();
    int dispatch(const Invocation& invocation);
    int status();
    int recall(int slot);
    int store(int slot, const std::string& name);

    CommandContext ctx;
};

} // namespace m7410
