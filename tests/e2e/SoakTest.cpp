// A long random session against the simulated unit on virtual time: the unit must end holding
// exactly what the window shows, and must never have seen a malformed frame.
#include "PresetRigs.h"

#include "model/ValueTables.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace m7410::test {
namespace {

// M7410_SOAK_EDITS and M7410_SOAK_SEED let scripts/soak run the long session and reproduce one.
long envNumber(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtol(v, nullptr, 10) : fallback;
}

struct Soak : testing::Test, SerialRig {
    DevicePresets presets{s};
    PresetFiles files{s};
    QTemporaryDir dir;
    std::mt19937 random;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // One random edit of any kind on any channel, queued the way the panels queue it.
    void edit() {
        const int channel = pick(ChannelCount);
        const bool output = channel < OutputChannelCount;
        switch (pick(7)) {
        case 0:
            if (output) {
                OutputChannel& o = s.model().outputs[channel];
                o.gain = pick(gainLimitOf(channel) + 1);
                o.outputOn = pick(2);
                o.delay = pick(OutputDelayMax + 1);
                o.phaseInvert = pick(2);
                s.builders().QueueBasicMessage(channel);
            } else {
                s.model().main.volume = pick(VolumeMax + 1);
                s.model().main.delay = pick(MainDelayMax + 1);
                s.model().main.phaseInvert = pick(2);
                s.builders().QueueMainBasicMessage();
            }
            break;
        case 1:
        case 2: {
            Crossover& x = s.model().crossover(channel);
            (pick(2) ? x.hpf : x.lpf) = {pick(FreqIndexMax + 1), pick(FilterTypeCount)};
            s.builders().QueueCrossoverMessage(channel);
            break;
        }
        case 3:
            if (output) {
                s.model().outputs[channel].limiter = {pick(LimiterThresholdCount),
                                                      pick(LimiterAttackCount),
                                                      pick(LimiterReleaseCount)};
                s.builders().QueueLimiterMessage(channel);
                break;
            }
            [[fallthrough]];
        default: {
            const int band = bandAddress(channel, pick(EqRowsPerChannel));
            EqBand& b = s.model().band(band);
            b.freq = pick(FreqCount);
            b.type = pick(EqTypeCount);
            b.setGainInForce(pick(EqGainCount));
            b.q = pick(QCount);
            s.builders().QueueEqBandMessage(band);
        }
        }
    }

    // Something other than an edit, as a user between edits would do it.
    void interlude() {
        switch (pick(6)) {
        case 0: // recall
            presets.loadClicked(pick(20));
            clock.advance(3000);
            break;
        case 1: // store under a fresh name
            presets.saveClicked(pick(20), "Soak" + std::to_string(pick(1000)));
            clock.advance(2500);
            break;
        case 2: { // current set to a file and back
            const std::string path = dir.filePath("soak").toStdString();
            view.savePath = path;
            files.saveOneGroupToPc();
            clock.advance(3000);
            view.openPath = path;
            files.loadOneGroupToDevice();
            clock.advance(3000);
            break;
        }
        case 3: // reconnect
            connection.Button3Click();
            clock.advance(1000);
            connect();
            break;
        default: // the unit answers late (within the start-up's 800 ms), or on time again
            unit.faults().latencyMs = std::array{5, 40, 150, 400, 750}[pick(5)];
            break;
        }
    }
};

TEST_F(Soak, RandomSessionEndsWithTheUnitEqualToTheWindow) {
    const long edits = envNumber("M7410_SOAK_EDITS", 1000);
    const long seed = envNumber("M7410_SOAK_SEED", 7410);
    random.seed(static_cast<unsigned>(seed));
    face.setSplitBatches(40, static_cast<unsigned>(seed));
    connect();
    ASSERT_EQ(connection.caption(), "Connect");
    ASSERT_TRUE(unitMatchesModel());

    for (long i = 0; i < edits; ++i) {
        edit();
        clock.advance(pick(4) == 0 ? pick(1200) : pick(60));
        if (pick(60) == 0) interlude();
    }
    unit.faults().latencyMs = 5;
    clock.advance(60000);                    // quiet: everything queued has gone out
    if (connection.caption() != "Connect") { // a late answer may have ended the last link
        connection.Button3Click();
        clock.advance(1000);
        connect();
        clock.advance(60000);
    }

    const BlockData expected = encodeBlock(s.model(), unit.currentSet());
    int mismatches = 0;
    for (std::size_t i = 0; i < expected.size(); ++i)
        mismatches += expected[i] != unit.currentSet()[i];
    std::printf("soak seed %ld: %ld edits, %d frames, %.2f virtual hours, %d mismatches, %d "
                "malformed\n",
                seed, edits, unit.framesReceived(), clock.nowMs() / 3600000.0, mismatches,
                unit.malformedFrames());
    EXPECT_EQ(connection.caption(), "Connect");
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(unit.malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
