#include "LinkTestSupport.h"

#include "protocol/Frame.h"
#include "support/HexText.h"
#include "support/VirtualClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

using namespace m7410;
using namespace m7410::test;
using ::testing::ElementsAre;

namespace {

struct IoRig : LinkRig<VirtualClock> {
    std::string unit;
    std::vector<Bytes> written;

    IoRig() : LinkRig(false) {
        unit = backend.plug(unitSpec(), [this](const uint8_t* report, std::size_t size) {
            written.emplace_back(report, report + size);
        });
        start();
        clock.runDue();
    }

    void report(const Bytes& bytes) {
        std::array<uint8_t, 64> data;
        data.fill(0xEE); // whatever the unit leaves in a report must not matter
        std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 64), data.begin());
        backend.sendInput(unit, data.data(), data.size());
    }

    // As the unit sends a message: the header alone, then the rest 64 bytes at a time.
    void message(const Bytes& frame, std::size_t reports = SIZE_MAX) {
        report(Bytes(frame.begin(), frame.begin() + 10));
        for (std::size_t at = 10, n = 1; at < frame.size() && n < reports; at += 64, ++n) {
            report(Bytes(frame.begin() + at, frame.begin() + std::min(at + 64, frame.size())));
        }
    }
};

Bytes reply(std::size_t dataLength, uint8_t code = CodeStatus) {
    Bytes data(dataLength);
    for (std::size_t i = 0; i < dataLength; ++i)
        data[i] = static_cast<uint8_t>(i * 7 + 1);
    return buildFrame(0, KindReply, 0, code, 0, data.data(), data.size());
}

TEST(HidReportIo, ReassemblesWholeMessagesForTheDispatcher) {
    IoRig rig;
    ASSERT_TRUE(rig.picker->hidUnitPresent());
    const Bytes status = reply(8);
    const Bytes empty = reply(0);
    const Bytes block = reply(320, CodeCurrentBlock);

    rig.message(status);
    rig.report(Bytes{0xA5, 0xA5, 0x00, 0x01}); // not a header: dropped
    rig.message(empty);
    rig.message(block);

    ASSERT_EQ(rig.sink.received.size(), 3u);
    EXPECT_EQ(rig.sink.received[0].size(), 40u);
    EXPECT_EQ(rig.sink.received[0], toHex(status));
    EXPECT_EQ(rig.sink.received[1], toHex(empty));
    EXPECT_EQ(rig.sink.received[2].size(), 664u);
    EXPECT_EQ(rig.sink.received[2], toHex(block));
    EXPECT_FALSE(rig.io->hidReceiving());
}

TEST(HidReportIo, AMessageThatStopsHalfwayIsDroppedAfter500ms) {
    IoRig rig;
    const Bytes block = reply(320, CodeCurrentBlock);
    rig.message(block, 3);
    rig.clock.advance(400);
    rig.report(Bytes(block.begin() + 138, block.begin() + 202)); // one more data report
    rig.clock.advance(499);
    EXPECT_TRUE(rig.io->hidReceiving()); // each report gives it another 500 ms
    rig.clock.advance(1);
    EXPECT_FALSE(rig.io->hidReceiving());

    const Bytes status = reply(8);
    rig.message(status);
    EXPECT_THAT(rig.sink.received, ElementsAre(toHex(status)));
}

TEST(HidReportIo, WritesFramesAndLogsEachReport) {
    IoRig rig;
    const Bytes longer = reply(8, CodeSystemRecord); // 20 bytes
    rig.link->sendHidFrame(longer.data(), longer.size());
    const Bytes status = statusRequest(0);
    rig.link->sendHidFrame(status.data(), status.size());

    ASSERT_EQ(rig.written.size(), 2u);
    const Bytes& report = rig.written[1];
    ASSERT_EQ(report.size(), 65u);
    EXPECT_EQ(report[0], 0);
    EXPECT_TRUE(std::equal(status.begin(), status.end(), report.begin() + 1));
    // Bytes after the frame still hold the longer frame's.
    EXPECT_TRUE(std::equal(longer.begin() + 12, longer.end(), report.begin() + 13));

    QString expected = "W 00  A5 A5 A5 00 A2 00 2B 00 00 00 89 AA ";
    for (std::size_t i = 13; i < 65; ++i) {
        expected += QString::number(report[i], 16).toUpper().rightJustified(2, '0') + ' ';
    }
    EXPECT_EQ(rig.log.lastLine(), expected);
    EXPECT_EQ(rig.log.count(), 2);
}

TEST(HidReportIo, BlockGoesAsSixReportsAndStopsAtTheFirstFailure) {
    IoRig rig;
    Bytes image(322);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i);
    rig.link->sendHidBlock(image.data(), image.size());

    ASSERT_EQ(rig.written.size(), 6u);
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_TRUE(std::equal(image.begin() + 64 * k, image.begin() + 64 * k + 64,
                               rig.written[k].begin() + 1));
    }
    const Bytes& last = rig.written[5];
    EXPECT_EQ(last[1], image[320]);
    EXPECT_EQ(last[2], image[321]);
    EXPECT_TRUE(std::equal(image.begin() + 258, image.begin() + 320, last.begin() + 3));
    EXPECT_EQ(rig.log.count(), 6);

    rig.backend.failWrites(rig.unit, EIO);
    rig.link->sendHidBlock(image.data(), image.size());
    EXPECT_EQ(rig.written.size(), 6u);
    EXPECT_EQ(rig.log.count(), 7);
    EXPECT_EQ(rig.log.lastLine(), "WRITE ERROR: Input/output error (5)");

    rig.backend.unplug(rig.unit);
    rig.clock.runDue();
    EXPECT_FALSE(rig.link->isHidActive());
    rig.link->sendHidBlock(image.data(), image.size());
    rig.link->sendHidFrame(image.data(), 12);
    EXPECT_EQ(rig.log.count(), 7);
}

TEST(TrafficLog, KeepsTheNewestLines) {
    TrafficLog log;
    int lastAdded = -1;
    QObject::connect(&log, &TrafficLog::lineAdded, [&](int row) { lastAdded = row; });
    for (int i = 0; i <= TrafficLog::MaxLines; ++i)
        log.AddToHistory(QString::number(i));
    EXPECT_EQ(log.rowCount(), TrafficLog::MaxLines);
    EXPECT_EQ(log.line(0), "1");
    EXPECT_EQ(log.lastLine(), QString::number(TrafficLog::MaxLines));
    EXPECT_EQ(lastAdded, TrafficLog::MaxLines - 1);
}

} // namespace
