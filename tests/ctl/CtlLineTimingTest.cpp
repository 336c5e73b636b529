// Restores and back-to-back runs on a serial line at 9600 baud, across the reply latencies a
// unit may have: the names reply that ends a restore may end before, at or after a poll.
#include "CtlBench.h"

#include "presets/PresetFileReader.h"
#include "protocol/Frame.h"

#include <QTemporaryDir>

namespace m7410::test {
namespace {

class CtlLineTiming : public testing::TestWithParam<int> {
protected:
    QTemporaryDir dir;
    std::string file = dir.filePath("show").toStdString();

    // A unit on a 9600 baud line that answers after the given latency.
    static std::unique_ptr<CtlBench> unitAt(int latencyMs) {
        auto b = std::make_unique<CtlBench>(Face::Serial);
        b->setLinePace(960);
        b->unit.faults().latencyMs = latencyMs;
        return b;
    }

    void SetUp() override {
        auto source = unitAt(5);
        for (int n = 1; n <= 20; ++n) {
            BlockData b = source->unit.preset(n);
            b[0] = static_cast<uint8_t>(100 + n);
            setBlockName(b, "Slot " + std::to_string(n));
            source->unit.setPreset(n, b);
        }
        ASSERT_EQ(source->run({"backup", file}).code, ExitOk);
    }
};

TEST_P(CtlLineTiming, VerifiedRestoreReadsBackWhateverTheLatency) {
    auto b = unitAt(GetParam());
    const CtlResult r = b->run({"restore", file});
    EXPECT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out, "restored 20 presets, verified\n");
    EXPECT_EQ(b->unit.presetName(20), "Slot 20");
    EXPECT_EQ(b->unit.malformedFrames(), 0);
}

TEST_P(CtlLineTiming, TheNextProgramStartsOnAQuietLine) {
    // Each run ends as a script's next command starts, on the same line and unit.
    auto b = unitAt(GetParam());
    const CtlResult restore = b->run({"restore", file, "--no-verify"});
    ASSERT_EQ(restore.code, ExitOk) << restore.err;
    const CtlResult recall = b->run({"recall", "1"});
    EXPECT_EQ(recall.code, ExitOk) << recall.err;
    EXPECT_EQ(recall.out, "recalled preset 1: Slot 1\n");
    const CtlResult status = b->run({"status"});
    EXPECT_EQ(status.code, ExitOk) << status.err;
    EXPECT_EQ(b->unit.malformedFrames(), 0);
}

// 5 ms is the simulator's default; 125 ms its "--late"; the others put the end of the names
// reply on either side of the first poll after the write.
INSTANTIATE_TEST_SUITE_P(Latencies, CtlLineTiming,
                         testing::Values(0, 5, 40, 80, 125, 160, 240, 320, 480),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "ms";
                         });

TEST(CtlInterrupt, AStoppedRestoreSaysWhichPresetsWereWritten) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("show").toStdString();
    CtlBench source(Face::Hid);
    for (int n = 1; n <= 20; ++n) {
        BlockData b = source.unit.preset(n);
        setBlockName(b, "New " + std::to_string(n));
        source.unit.setPreset(n, b);
    }
    ASSERT_EQ(source.run({"backup", file}).code, ExitOk);

    CtlBench b(Face::Hid);
    const int64_t start = b.clock.nowMs();
    // Stopped about 8 presets into the write (about a second each).
    b.interrupted = [&] { return b.unit.presetName(8) == "New 8"; };
    const CtlResult r = b.run({"restore", file});
    EXPECT_EQ(r.code, ExitInterrupted);
    EXPECT_LT(b.clock.nowMs() - start, 15000);
    const std::vector<std::string> err = lines(r.err);
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.back(), "m7410-ctl: interrupted: presets 1-8 were written from " + file +
                              ", presets 9-20 keep what they held");
    EXPECT_EQ(b.unit.presetName(9).rfind("New", 0), std::string::npos);
}

} // namespace
} // namespace m7410::test
