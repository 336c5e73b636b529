// A command run through the program that serves the unit, instead of on an own link.
#pragma once

#include "ctl/CommandLine.h"

#include <QString>

#include <functional>
#include <ostream>

namespace m7410 {

class Clock;
class ConsoleView;

// Exit code as for the command on an own link; 1 when the owner cannot be reached.
int runThroughOwner(const QString& socket, const Invocation& invocation, Clock& clock,
                    ConsoleView& view, std::ostream& out, std::ostream& err,
                    const std::function<bool()>& stop);

} // namespace m7410
