#include "SimTestSupport.h"

#include "protocol/ParameterBlock.h"
#include "sim/SimHidFace.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>

using namespace m7410;
using namespace m7410::sim;

namespace {

struct HidRig {
    VirtualClock clock;
    SimUnit unit;
    SimHidFace face{unit, clock};
    std::vector<std::pair<int64_t, SimHidFace::InputReport>> reports;
    // Bytes left over from earlier, longer writes, as the application's buffer keeps them.
    std::array<uint8_t, 65> buffer{};

    HidRig() {
        buffer.fill(0xEE);
        face.onInputReport = [this](const SimHidFace::InputReport& r) {
            reports.emplace_back(clock.nowMs(), r);
        };
    }
    void send(const uint8_t* bytes, std::size_t n) {
        buffer[0] = 0;
        std::copy_n(bytes, n, buffer.begin() + 1);
        face.writeOutputReport(buffer.data(), buffer.size());
    }
    void send(const Bytes& frame) { send(frame.data(), frame.size()); }
};

} // namespace

TEST(SimHidFace, CutsRepliesIntoAHeaderReportAndDataReports) {
    SimUnit unit;
    const Bytes block = unit.receiveFrame(currentBlockReadRequest(0))[0];
    const Bytes names = unit.receiveFrame(namesReadRequest(0))[0];
    const Bytes ack = unit.receiveFrame(presetNameWrite(0, 1, "A"))[0];
    EXPECT_EQ(SimHidFace::toInputReports(block).size(), 7u);
    EXPECT_EQ(SimHidFace::toInputReports(names).size(), 8u);
    EXPECT_EQ(SimHidFace::toInputReports(unit.receiveFrame(statusRequest(0))[0]).size(), 2u);

    // No data still takes a second report: checksum and end marker.
    const auto ackReports = SimHidFace::toInputReports(ack);
    ASSERT_EQ(ackReports.size(), 2u);
    EXPECT_TRUE(std::equal(ack.begin(), ack.begin() + 10, ackReports[0].begin()));
    EXPECT_EQ(ackReports[1][0], 0x51);
    EXPECT_EQ(ackReports[1][1], 0xAA);

    // Reading the reports back the way the application does gives the frame again.
    const auto r = SimHidFace::toInputReports(names);
    Bytes joined(r[0].begin(), r[0].begin() + 10);
    for (std::size_t k = 1; k < 7; ++k)
        joined.insert(joined.end(), r[k].begin(), r[k].end());
    joined.insert(joined.end(), r[7].begin(), r[7].begin() + 400 % 64 + 2);
    EXPECT_EQ(joined, names);
}

TEST(SimHidFace, AnswersOutputReportsOnTheClockWithLatencyAndSpacing) {
    HidRig rig;
    rig.unit.faults().latencyMs = 7;
    rig.face.setReportSpacingMs(2);
    rig.send(statusRequest(0)); // the rest of the report is stale 0xEE
    rig.send(currentBlockReadRequest(0));
    EXPECT_TRUE(rig.reports.empty());
    rig.clock.advance(100);
    ASSERT_EQ(rig.reports.size(), 9u);
    EXPECT_EQ(rig.reports[0].first, 7);
    EXPECT_EQ(rig.reports[1].first, 9);
    EXPECT_EQ(rig.reports[2].first, 11); // the block reply follows on the same pipe
    EXPECT_EQ(rig.reports[8].first, 23);
    EXPECT_EQ(rig.reports[2].second[6], 0x28);

    // A stalling unit pauses after each header report and before each last report.
    rig.reports.clear();
    rig.face.setReplyPausesMs(300);
    rig.send(statusRequest(0));
    rig.send(currentBlockReadRequest(0));
    rig.clock.advance(2000);
    ASSERT_EQ(rig.reports.size(), 9u);
    EXPECT_EQ(rig.reports[0].first, 107);
    EXPECT_EQ(rig.reports[1].first, 409);
    EXPECT_EQ(rig.reports[2].first, 411);
    EXPECT_EQ(rig.reports[3].first, 713);
    EXPECT_EQ(rig.reports[7].first, 721);
    EXPECT_EQ(rig.reports[8].first, 1023);
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

TEST(SimHidFace, TakesABlockWriteAsHeaderReportThenSixImageReports) {
    HidRig rig;
    BlockData block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(i ^ 0x5A);
    const BlockTarget slot = BlockTarget::preset(6);
    const auto header = blockWriteHeader(slot, 0);
    const BlockImage image = buildWriteImage(block, slot, 0);
    rig.send(header.data(), header.size());
    for (int k = 0; k < 5; ++k)
        rig.send(image.data() + 64 * k, 64);
    rig.send(image.data() + 320, 2); // the rest of this report is left from the fifth
    EXPECT_EQ(rig.unit.preset(6), block);
    EXPECT_EQ(rig.unit.malformedFrames(), 0);

    // A report that starts no frame, or has the wrong size, is counted.
    const uint8_t junk[3] = {1, 2, 3};
    rig.send(junk, 3);
    rig.face.writeOutputReport(rig.buffer.data(), 64);
    EXPECT_EQ(rig.unit.malformedFrames(), 2);
}

TEST(SimHidFace, UnplugsInTheMiddleOfAReplyAndGoesSilent) {
    HidRig rig;
    int unplugs = 0;
    rig.face.onUnplug = [&] { ++unplugs; };
    rig.face.unplugAfterInputReports(3);
    rig.send(currentBlockReadRequest(0));
    rig.clock.advance(100);
    EXPECT_EQ(rig.reports.size(), 3u);
    EXPECT_EQ(unplugs, 1);
    EXPECT_FALSE(rig.face.isPlugged());
    rig.send(statusRequest(0));
    rig.clock.advance(100);
    EXPECT_EQ(rig.reports.size(), 3u);
    EXPECT_EQ(rig.unit.framesReceived(), 1);
}
