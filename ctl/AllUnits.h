// --all: status, recall N and backup DIR on every unit this user's programs serve, one after
// another, each unit's output marked with its name.
#pragma once

#include "ctl/CommandLine.h"

#include <functional>
#include <ostream>

namespace m7410 {

class Clock;
class ConsoleView;

// The first failing unit's exit code, else 0; 1 when no unit is served.
int runOnAllUnits(const Invocation& invocation, Clock& clock, ConsoleView& view,
                  std::ostream& out, std::ostream& err, const std::function<bool()>& stop);

} // namespace m7410
