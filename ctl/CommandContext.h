// What every command works with: the unit, the console and the way out of a wait.
#pragma once

#include "ctl/ConsoleView.h"
#include "unit/Unit.h"
#include "unit/UnitAccess.h"

#include <QJsonObject>

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace m7410 {

struct CommandContext {
    UnitAccess& unit;
    ConsoleView& view;
    std::ostream& out;
    std::ostream& err;
    // Standard input: the batch's commands, or a file named "-".
    std::istream& in;
    bool json = false;
    // Holds once the user asked the tool to stop (SIGINT, SIGTERM).
    std::function<bool()> interrupted = [] { return false; };

    // Runs one operation of the unit to its end (or to an interruption).
    template <class T, class Start> UnitResult<T> await(Start start) {
        // Every slice of the wait redraws the progress bar, if one is tracked; the bar is gone
        // before the outcome is printed.
        UnitResult<T> r = unit.await<T>(std::move(start), [this] {
            view.tick();
            return interrupted();
        });
        view.finishProgress();
        return r;
    }
    // The line on standard error for a unit or file failure; returns ExitFailure. With json
    // the failure is also the command's one object on standard output: base (what the command
    // has to tell besides) with {"error": {"kind": kind, "message": line}}.
    int fail(std::string_view kind, const std::string& line, QJsonObject base = {});
    int fail(const UnitError& error) { return fail(errorKindName(error.kind), error.message); }
    // The JSON object as one line on standard output.
    void printJson(const QJsonObject& object);
};

// Latin-1 bytes as the unit keeps names, as UTF-8 for the console.
std::string consoleText(const std::string& latin1);

} // namespace m7410
