// Progress on a terminal only, counting what really arrived, and silenced by --quiet.
#include "CtlBench.h"

#include "protocol/Frame.h"

#include <QTemporaryDir>

namespace m7410::test {
namespace {

// The largest "N/20" count a bar showed.
int largestCount(const std::string& err) {
    int largest = -1;
    for (std::size_t at = err.find("/20"); at != std::string::npos; at = err.find("/20", at + 1)) {
        std::size_t start = at;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(err[start - 1])))
            --start;
        if (start < at) largest = std::max(largest, std::stoi(err.substr(start, at - start)));
    }
    return largest;
}

TEST(CtlProgress, ABarOnATerminalTrueToWhatArrivedAndNothingElsewhere) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("show").toStdString();
    CtlBench bench(Face::Serial);

    // Piped: the result and nothing else.
    CtlResult r = bench.run({"backup", file});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.err, "");

    bench.terminal = true;
    r = bench.run({"backup", file});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_NE(r.err.find("\rreading presets ["), std::string::npos) << r.err;
    // Counting up as the presets come (the last one ends the read within the same step).
    EXPECT_GE(largestCount(r.err), 19) << r.err;
    // Wiped before the result line, so nothing stands on the terminal.
    EXPECT_TRUE(r.err.ends_with("\r\x1b[K")) << r.err;
    EXPECT_EQ(r.out, "backed up 20 presets to " + file + "\n");

    // A recall has nothing to count: no bar left standing at 0 %.
    r = bench.run({"recall", "2"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(bench.run({"backup", file, "--quiet"}).err, "");

    // The unit falls silent after five presets: the bar never claims more than came.
    const int before = bench.unit.framesReceived(KindRequest, CodePresetBlock);
    bench.interrupted = [&, before] {
        if (bench.unit.framesReceived(KindRequest, CodePresetBlock) - before >= 5)
            bench.unit.faults().silent = true;
        return false;
    };
    r = bench.run({"backup", file});
    EXPECT_EQ(r.code, ExitFailure);
    const std::size_t arrived = r.err.find(" arrived)");
    ASSERT_NE(arrived, std::string::npos) << r.err;
    const int count = std::stoi(r.err.substr(r.err.rfind('(', arrived) + 1));
    EXPECT_LT(count, 20);
    EXPECT_EQ(largestCount(r.err), count) << r.err;
}

} // namespace
} // namespace m7410::test
