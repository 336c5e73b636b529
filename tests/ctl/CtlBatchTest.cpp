// batch, get CHANNEL, diff against the unit and "-" as a file, on the simulated unit.
#include "CtlBench.h"

#include "unit/ParameterPaths.h"

#include <QTemporaryDir>

#include <fstream>

namespace m7410::test {
namespace {

class CtlBatch : public testing::TestWithParam<Face> {
protected:
    CtlBench bench{GetParam()};
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    void TearDown() override { EXPECT_EQ(bench.unit.malformedFrames(), 0); }
};

TEST_P(CtlBatch, OneLinkForEveryLineEachResultPrintedStopAtTheFirstFailure) {
    const int64_t start = bench.clock.nowMs();
    bench.input = "# the show's EQ\n"
                  "set high.eq1.gain -3\n"
                  "set high.eq2.freq 50\n"
                  "get high.eq1\n";
    CtlResult r = bench.run({"batch"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(lines(r.out),
              (std::vector<std::string>{"high.eq1.gain = -3 dB", "high.eq2.freq = 49.6 Hz",
                                        "high.eq1.type = PEQ", "high.eq1.freq = 19.7 Hz",
                                        "high.eq1.gain = -3 dB", "high.eq1.q = 1"}))
        << r.out;
    // One start-up for all of them.
    EXPECT_EQ(bench.unit.framesReceived(KindRequest, CodeCurrentBlock), 1);
    EXPECT_LT(bench.clock.nowMs() - start, 3 * 2500);

    // A line that fails stops the batch; --keep-going runs the rest, the first failure's code.
    const std::string script = path("script");
    std::ofstream(script) << "set low.gain 1\nrecall 21\nset low.gain 2\n";
    r = bench.run({"batch", "-f", script});
    EXPECT_EQ(r.code, ExitUsage);
    EXPECT_EQ(r.out, "low.gain = 1.0 dB\n");
    EXPECT_NE(r.err.find("m7410-ctl: line 2: N must be"), std::string::npos) << r.err;
    r = bench.run({"batch", "-f", script, "--keep-going", "--json"});
    EXPECT_EQ(r.code, ExitUsage);
    ASSERT_EQ(lines(r.out).size(), 3u) << r.out;
    EXPECT_EQ(lines(r.out)[1].rfind("{\"error\":{\"kind\":\"usage\"", 0), 0u) << r.out;
    EXPECT_NE(lines(r.out)[2].find("\"text\":\"2.0 dB\""), std::string::npos) << r.out;

    // The unit stops answering part-way: that line fails, and the batch stops there.
    bench.input = "set low.gain 3\nstore 4 Show\nset low.gain 4\n";
    bench.unit.faults().drop[0] = 1;
    r = bench.run({"batch"});
    EXPECT_EQ(r.code, ExitFailure);
    EXPECT_EQ(r.out, "low.gain = 3.0 dB\n");

    // Standard input holds the commands, so no line may read a file from it.
    bench.input = "show -\n";
    EXPECT_EQ(bench.run({"batch"}).code, ExitUsage);
}

TEST_P(CtlBatch, GetOfAChannelAndDiffAgainstTheUnit) {
    const CtlResult all = bench.run({"get", "all"});
    std::vector<std::string> high;
    for (const std::string& line : lines(all.out))
        if (line.starts_with("high.")) high.push_back(line);
    const CtlResult channel = bench.run({"get", "high"});
    ASSERT_EQ(channel.code, ExitOk) << channel.err;
    EXPECT_EQ(lines(channel.out), high);
    EXPECT_EQ(high.size(), 3u + 5 + 3 + 24);

    // The current set against the unit's, after one change on the unit.
    const std::string one = path("one");
    ASSERT_EQ(bench.run({"save-current", one}).code, ExitOk);
    EXPECT_EQ(bench.run({"diff", one}).out, "no differences\n");
    ASSERT_EQ(bench.run({"set", "middle.delay", "2"}).code, ExitOk);
    const CtlResult changed = bench.run({"diff", one});
    ASSERT_EQ(changed.code, ExitOk) << changed.err;
    EXPECT_EQ(changed.out, "middle.delay: 0.000 ms -> 1.995 ms\n");

    // The 20 presets, the file from standard input.
    const std::string backup = path("backup");
    ASSERT_EQ(bench.run({"backup", backup}).code, ExitOk);
    ASSERT_EQ(bench.run({"store", "6", "Changed"}).code, ExitOk);
    std::ifstream in(backup, std::ios::binary);
    bench.input.assign(std::istreambuf_iterator<char>(in), {});
    const CtlResult presets = bench.run({"diff", "-"});
    ASSERT_EQ(presets.code, ExitOk) << presets.err;
    EXPECT_NE(presets.out.find("preset 6 name: "), std::string::npos) << presets.out;
    EXPECT_NE(presets.out.find(" -> Changed\n"), std::string::npos) << presets.out;
}

TEST_P(CtlBatch, DashIsStandardOutputAndStandardInput) {
    const auto bytesOf = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string file = path("show");
    ASSERT_EQ(bench.run({"backup", file}).code, ExitOk);
    // The very bytes the file gets, and nothing else on standard output.
    const CtlResult out = bench.run({"backup", "-"});
    ASSERT_EQ(out.code, ExitOk) << out.err;
    EXPECT_EQ(out.out, bytesOf(file));
    const std::string one = path("one");
    ASSERT_EQ(bench.run({"save-current", one}).code, ExitOk);
    EXPECT_EQ(bench.run({"save-current", "-"}).out, bytesOf(one));
    EXPECT_EQ(bench.run({"backup", "-", "--json"}).code, ExitUsage);

    CtlBench spare(GetParam());
    spare.input = out.out;
    const CtlResult restored = spare.run({"restore", "-"});
    ASSERT_EQ(restored.code, ExitOk) << restored.err;
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(spare.unit.preset(n), bench.unit.preset(n)) << n;
    spare.input = bytesOf(one);
    const CtlResult loaded = spare.run({"load-current", "-"});
    ASSERT_EQ(loaded.code, ExitOk) << loaded.err;
    EXPECT_EQ(loaded.out.rfind("loaded standard input into the current set", 0), 0u) << loaded.out;
    EXPECT_EQ(spare.unit.currentSet(), bench.unit.currentSet());

    // A damaged stream is named as what it is, and nothing is sent.
    spare.input = "not a preset file\n";
    const CtlResult damaged = spare.run({"restore", "-"});
    EXPECT_EQ(damaged.code, ExitFailure);
    EXPECT_EQ(damaged.err.rfind("m7410-ctl: standard input: damaged", 0), 0u) << damaged.err;
    EXPECT_EQ(spare.unit.framesReceived(KindWrite, CodePresetBlock), 20);
}

INSTANTIATE_TEST_SUITE_P(BothFaces, CtlBatch, testing::Values(Face::Hid, Face::Serial), faceName);

} // namespace
} // namespace m7410::test
