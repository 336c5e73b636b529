// m7410-ctl's commands on a unit: connecting, then one command, then closing.
#pragma once

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/FileCommands.h"

#include <iostream>

#include <optional>

namespace m7410 {

class Ctl {
public:
    // in serves "-" as a file name and batch's commands.
    Ctl(UnitAccess& unit, ConsoleView& view, std::ostream& out, std::ostream& err,
        std::istream& in = std::cin);
    Ctl(const Ctl&) = delete;
    Ctl& operator=(const Ctl&) = delete;

    // Answers what needs no unit: a wrong command line (usage on standard error), --help,
    // --version, the preview of an EQ import (--dry-run), show, and diff of two files. Nothing
    // when the command needs the unit.
    static std::optional<int> withoutUnit(const ParsedCommandLine& parsed, std::ostream& out,
                                          std::ostream& err, std::istream& in = std::cin);

    // What tells the tool to stop waiting (a signal's flag).
    void setInterrupted(std::function<bool()> check) { ctx.interrupted = std::move(check); }

    // Connects, runs the command (or a batch of them) and closes the link; the exit code.
    int run(const Invocation& invocation);

private:
    static std::optional<int> offline(const Invocation& invocation, OfflineIo io);
    // Every line over the one link; the first failure's code.
    int batch(const Invocation& invocation);
    bool connect();
    int dispatch(const Invocation& invocation);
    int status();
    int recall(int slot);
    int store(int slot, const std::string& name);

    CommandContext ctx;
};

} // namespace m7410
