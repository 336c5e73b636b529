#include "ctl/BatchRun.h"

#include "ctl/BatchLine.h"
#include "ctl/JsonOutput.h"

#include <string>

namespace m7410 {

namespace {

// Why a parsed line cannot run inside a batch; empty when it can.
std::string notInBatch(const Invocation& inv) {
    if (inv.demo || !inv.ports.empty())
        return "the link is chosen once, on the batch's own command line (--port, --demo)";
    if (inv.command == Command::Help || inv.command == Command::Version)
        return "help and version are not commands for the unit";
    return {};
}

} // namespace

int runBatch(std::istream& in, const BatchOptions& options, std::ostream& out, std::ostream& err,
             const std::function<int(const Invocation&)>& run) {
    int firstFailure = ExitOk;
    int number = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++number;
        std::string why;
        const std::optional<std::vector<std::string>> words = splitBatchLine(line, why);
        if (words && words->empty()) continue;
        ParsedCommandLine parsed;
        if (words && words->front() == "batch")
            why = "a batch cannot start another batch";
        else if (words)
            parsed = parseCommandLine(*words);
        if (parsed.invocation)
            why = notInBatch(*parsed.invocation);
        else if (why.empty())
            why = parsed.error;
        int code = ExitUsage;
        if (why.empty()) {
            Invocation inv = *parsed.invocation;
            inv.json = inv.json || options.json;
            code = run(inv);
        } else {
            const std::string message = "line " + std::to_string(number) + ": " + why;
            err << "m7410-ctl: " << message << '\n';
            err.flush();
            if (options.json) printJsonLine(out, errorJson(ErrorKind::Usage, message));
        }
        if (code != ExitOk && firstFailure == ExitOk) firstFailure = code;
        if (code != ExitOk && !options.keepGoing) break;
    }
    return firstFailure;
}

} // namespace m7410
