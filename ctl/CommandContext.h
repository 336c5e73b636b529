// What every command works with: the unit, the console and the way out of a wait.
#pragma once

#include "ctl/ConsoleView.h"
#include "unit/Unit.h"
#include "unit/UnitAccess.h"

#include <QJsonObject>

#include <functional>
#include <ostream>
#include <string>

namespace m7410 {

struct CommandContext {
    UnitAccess& unit;
    ConsoleView& view;
    std::ostream& out;
    std::ostream& err;
    bool json = false;
    // Holds once the user asked the tool to stop (SIGINT, SIGTERM).
    std::function<bool()> interrupted = [] { return false; };

    // Runs one operation of the unit to its end (or to an interruption).
    template <class T, class Start> UnitResult<T> await(Start start) {
        return unit.await<T>(std::move(start), interrupted);
    }
    // The line on standard error for a unit or file failure; returns ExitFailure.
    int fail(const std::string& line);
    int fail(const UnitError& error) { return fail(error.message); }
    // The JSON object as one line on standard output.
    void printJson(const QJsonObject& object);
};

// Latin-1 bytes as the unit keeps names, as UTF-8 for the console.
std::string consoleText(const std::string& latin1);

} // namespace m7410
