// The batch loop: each line run in order, usage errors named by line, stop or keep going.
#include "ctl/BatchRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace m7410::test {
namespace {

struct Recorder {
    std::vector<std::string> ran; // command and first argument of each run
    std::vector<bool> json;
    int failOn = -1; // the run (0-based) that fails with ExitFailure
    int operator()(const Invocation& inv) {
        ran.push_back(inv.command == Command::Set ? "set " + inv.path : std::to_string(inv.slot));
        json.push_back(inv.json);
        return static_cast<int>(ran.size()) - 1 == failOn ? ExitFailure : ExitOk;
    }
};

struct Batch {
    int code = -1;
    std::string out, err;
};

Batch run(const std::string& script, BatchOptions options, Recorder& r,
          std::vector<std::size_t>* groups = nullptr) {
    std::istringstream in(script);
    StreamInput input(in);
    std::ostringstream out, err;
    BatchCommands commands{[&](const Invocation& inv) { return r(inv); },
                           [&](const std::vector<Invocation>& sets) {
                               if (groups) groups->push_back(sets.size());
                               int code = ExitOk;
                               for (const Invocation& inv : sets)
                                   code = std::max(code, r(inv));
                               return code;
                           }};
    const int code = runBatch(input, options, out, err, commands);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(CtlBatchRun, RunsEveryLineInOrderAndStopsAtTheFirstFailure) {
    const std::string script = "# scene change\n"
                               "set high.eq1.gain -3\n"
                               "\n"
                               "recall 4\n"
                               "set low.gain 2\n";
    Recorder all;
    std::vector<std::size_t> groups;
    Batch b = run(script + "set low.eq1.q 2\nset low.eq2.q 3\n", {}, all, &groups);
    EXPECT_EQ(b.code, ExitOk) << b.err;
    EXPECT_EQ(all.ran, (std::vector<std::string>{"set high.eq1.gain", "4", "set low.gain",
                                                 "set low.eq1.q", "set low.eq2.q"}));
    // Set lines in a row go as one change.
    EXPECT_EQ(groups, (std::vector<std::size_t>{1, 3}));

    Recorder stops;
    stops.failOn = 1;
    b = run(script, {}, stops);
    EXPECT_EQ(b.code, ExitFailure);
    EXPECT_EQ(stops.ran.size(), 2u);

    Recorder goesOn;
    goesOn.failOn = 1;
    b = run(script, {.keepGoing = true}, goesOn);
    EXPECT_EQ(b.code, ExitFailure);
    EXPECT_EQ(goesOn.ran.size(), 3u);
}

TEST(CtlBatchRun, ALineThatIsNoCommandIsAUsageErrorNamingItsLine) {
    const std::string script = "recall 1\n"
                               "recall 21\n"
                               "--port /dev/ttyS0 status\n"
                               "batch -f other\n"
                               "store 2 \"Club\n"
                               "--json recall 3\n";
    Recorder r;
    const Batch b = run(script, {.keepGoing = true, .json = true}, r);
    EXPECT_EQ(b.code, ExitUsage);
    EXPECT_EQ(r.ran, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(r.json, (std::vector<bool>{true, true}));
    std::istringstream errors(b.err);
    std::vector<std::string> lines;
    for (std::string line; std::getline(errors, line);)
        lines.push_back(line.substr(0, line.find(':', 12)));
    EXPECT_EQ(lines, (std::vector<std::string>{"m7410-ctl: line 2", "m7410-ctl: line 3",
                                               "m7410-ctl: line 4", "m7410-ctl: line 5"}))
        << b.err;
    // With --json every failure is an object of its own on standard output too.
    EXPECT_NE(
        b.out.find(R"({"error":{"kind":"usage","message":"line 5: no closing \" on the line"}})"),
        std::string::npos)
        << b.out;
}

} // namespace m7410::test
