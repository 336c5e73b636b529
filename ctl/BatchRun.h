// m7410-ctl batch: one command a line, each run over the same link, each result printed.
#pragma once

#include "ctl/CommandLine.h"

#include <functional>
#include <istream>
#include <ostream>

namespace m7410 {

struct BatchOptions {
    bool keepGoing = false; // run the lines after a failed one too
    bool json = false;      // every line's result, errors included, as one JSON line
};

// Reads command lines from in until its end and gives each to run, which prints the result
// and returns its exit code. A line that is no command (or asks for another link, or for
// another batch) fails as a usage error, naming its line number. Stops at the first failure
// unless keepGoing; returns 0 when every line succeeded, else the first failure's code.
int runBatch(std::istream& in, const BatchOptions& options, std::ostream& out, std::ostream& err,
             const std::function<int(const Invocation&)>& run);

} // namespace m7410
