#include "SerialRig.h"

#include "protocol/FileText.h"

#include "protocol/Frame.h"

#include <QTemporaryDir>

#include <sstream>

namespace m7410::test {
namespace {

const std::string StatusRequest = "A5A5A500A2002B00000089AA";
const std::string Disconnected = "Disconnect";

struct SerialFlow : testing::Test, SerialRig {
    void TearDown() override { EXPECT_EQ(unit.malformedFrames(), 0); }
};

TEST_F(SerialFlow, ConnectsSynchronisesAndPollsWithRepliesInRandomPieces) {
    face.setBytesPerSecond(960);
    face.setSplitBatches(23, 7410);
    unit.setCurrentPresetNumber(4);
    unit.setBassOn(true);
    connect();

    EXPECT_EQ(connection.caption(), "Connect");
    EXPECT_EQ(view.status, "  ConnectingttyS3");
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(s.currentPresetName(), unit.currentName());
    ASSERT_EQ(view.loadList.size(), 20u);
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(view.loadList[n - 1], "Pre" + std::to_string(n) + ":" + unit.presetName(n));
    EXPECT_EQ(view.presetNumber, 4);
    EXPECT_EQ(view.bassOn, true);
    EXPECT_TRUE(view.indicator);
    EXPECT_FALSE(view.disconnectedShown);

    const std::vector<int64_t> polls = link.timesOf(StatusRequest);
    ASSERT_GE(polls.size(), 3u);
    for (std::size_t i = 1; i < polls.size(); ++i)
        EXPECT_EQ(polls[i] - polls[i - 1], 500);
    clock.advance(10000);
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(SerialFlow, EditsReachTheUnitPacedAndInSlotOrder) {
    connect();
    s.model().outputs[1].gain = 180;
    s.builders().QueueBasicMessage(1); // slot 4
    s.model().band(20).q = 33;
    s.builders().QueueEqBandMessage(20); // slot 32
    s.model().crossover(0).lpf.freq = 100;
    s.builders().QueueCrossoverMessage(0); // slot 2
    s.model().outputs[1].gain = 190;
    s.builders().QueueBasicMessage(1); // again: goes once, with 190
    const int64_t raised = clock.nowMs();
    clock.advance(3000);

    const auto writes = link.matching("A5A5A500A1");
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].hex.substr(12, 4), "0001"); // crossover of channel 0
    EXPECT_EQ(writes[1].hex.substr(12, 4), "0100"); // basic of channel 1
    EXPECT_EQ(writes[2].hex.substr(12, 4), "0700"); // Main band 20
    EXPECT_LE(writes[0].atMs - raised, 210);
    EXPECT_EQ(writes[1].atMs - writes[0].atMs, 510);
    EXPECT_EQ(writes[2].atMs - writes[1].atMs, 510);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(unit.framesReceived(KindWrite, 0x01), 1);
}

TEST_F(SerialFlow, ASilentUnitIsGivenUpTwoSecondsAfterTheFirstUnansweredPoll) {
    connect();
    unit.faults().silent = true;
    const int64_t silentFrom = clock.nowMs();
    clock.advance(600);
    const auto polls = link.timesOf(StatusRequest);
    int64_t firstUnanswered = 0;
    for (int64_t t : polls)
        if (t >= silentFrom && firstUnanswered == 0) firstUnanswered = t;
    ASSERT_NE(firstUnanswered, 0);
    clock.advanceTo(firstUnanswered + 1999);
    EXPECT_EQ(connection.caption(), "Connect");
    clock.advanceTo(firstUnanswered + 2000 + 50); // the close pauses 50 ms for late bytes
    EXPECT_EQ(connection.caption(), Disconnected);
    EXPECT_EQ(view.status, "  Disconnect");
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_FALSE(ports.open);
    EXPECT_EQ(s.linkOpen(), 0);
    const std::size_t sent = link.sent.size();
    clock.advance(5000);
    EXPECT_EQ(link.sent.size(), sent);
    EXPECT_FALSE(view.indicator);
}

struct StartupFault {
    const char* name;
    int closesAtMs;
    void (*apply)(SerialRig&);
};

struct StartupTimeouts : testing::TestWithParam<StartupFault>, SerialRig {};

TEST_P(StartupTimeouts, CloseTheLinkWithTheDisconnectionWindow) {
    GetParam().apply(*this);
    connection.Button3Click();
    EXPECT_EQ(connection.caption(), "Connect");
    clock.advanceTo(GetParam().closesAtMs - 1);
    EXPECT_FALSE(view.disconnectedShown);
    EXPECT_EQ(s.linkOpen(), 1);
    clock.advanceTo(GetParam().closesAtMs + 50);
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_EQ(connection.caption(), Disconnected);
    EXPECT_EQ(s.linkOpen(), 0);
    EXPECT_EQ(unit.malformedFrames(), 0);
    EXPECT_EQ(view.disconnectedCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, StartupTimeouts,
    testing::Values(
        StartupFault{"NothingAtAll", 800, [](SerialRig& r) { r.unit.faults().silent = true; }},
        StartupFault{"NoCurrentBlock", 1500,
                     [](SerialRig& r) {
                         r.unit.faults().drop[CodeCurrentBlock] = 1;
                         // Something arrives, but never the block.
                         r.stray = r.clock.createTimer(
                             100,
                             [&r] {
                                 r.s.receiveText() += "00";
                                 r.s.ProcessReceived();
                             },
                             true);
                         r.stray->start();
                     }},
        StartupFault{"NoNames", 2500, [](SerialRig& r) { r.unit.faults().answerNames = false; }}),
    [](const testing::TestParamInfo<StartupFault>& info) { return info.param.name; });

TEST_F(SerialFlow, NoPortLeavesTheLinkClosedAndTheButtonPausesTwoSeconds) {
    ports.portOpens = false;
    connection.Button3Click();
    EXPECT_EQ(view.messages, std::vector<std::string>{"No port."});
    EXPECT_EQ(connection.caption(), Disconnected);
    EXPECT_EQ(ports.number, 0);
    EXPECT_FALSE(view.connectEnabled);
    EXPECT_TRUE(link.sent.empty());
    clock.advance(1999);
    EXPECT_FALSE(view.connectEnabled);
    clock.advance(1);
    EXPECT_TRUE(view.connectEnabled);
    clock.advance(5000);
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(SerialFlow, ClosingDuringStartupShowsNoDisconnectionWindow) {
    unit.faults().answerNames = false;
    connection.Button3Click();
    clock.advance(2000); // the button is usable again
    connection.Button3Click();
    EXPECT_EQ(connection.caption(), Disconnected);
    EXPECT_EQ(ports.number, -1);
    clock.advance(5000);
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(SerialFlow, ReadsAllTwentyPresetsIntoAFile) {
    face.setBytesPerSecond(960);
    connect();
    QTemporaryDir dir;
    view.savePath = dir.filePath("20M_7410").toStdString();
    s.scheduler().stopAll();
    s.receiveText().clear();
    s.collection().clear();
    view.showProgress(0);
    const int64_t start = clock.nowMs();
    s.exchanges().startPresetRead();
    clock.advance(15000);

    const auto requests = link.matching("A5A5A500A2");
    std::vector<int> asked;
    for (const auto& r : requests)
        if (r.atMs > start && r.hex.substr(12, 2) == "29") {
            asked.push_back(std::stoi(r.hex.substr(10, 2), nullptr, 16));
            EXPECT_EQ(r.atMs - start, 700 * static_cast<int64_t>(asked.size()));
        }
    EXPECT_EQ(asked, (std::vector<int>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                       11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(view.progress, 100);
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.saveDialogs.size(), 1u);
    std::istringstream lines(readFile(*view.savePath));
    std::string line;
    for (int n = 1; n <= 20; ++n) {
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line.substr(20, 640), toHex(unit.preset(n).data(), BlockSize) + "") << n;
    }
    EXPECT_TRUE(s.statusPoll().isActive());
    clock.advance(17000);
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(SerialFlow, APresetReadMissingRepliesTimesOutAndPollingResumes) {
    connect();
    unit.faults().drop[CodePresetBlock] = 1;
    s.scheduler().stopAll();
    s.exchanges().startPresetRead();
    clock.advance(15999);
    EXPECT_FALSE(view.disconnectedShown);
    clock.advance(1);
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_TRUE(view.saveDialogs.empty());
    EXPECT_EQ(s.savingAllToFile(), 0);
    EXPECT_EQ(s.linkOpen(), 1);
    const std::size_t polls = link.matching(StatusRequest).size();
    clock.advance(1000);
    EXPECT_EQ(link.matching(StatusRequest).size(), polls + 2);
}

TEST_F(SerialFlow, WritesTwentyPresetsAndRereadsTheNames) {
    connect();
    s.collection().clear();
    for (int n = 1; n <= 20; ++n) {
        BlockData b = unit.preset(21 - n); // the asked in reverse
        setBlockName(b, "Set" + std::to_string(n));
        s.collection().push_back(
            toHex(buildFrame(0, KindReply, 7, CodePresetBlock, 0, b.data(), b.size())));
    }
    s.statusPoll().stop();
    view.showProgress(0);
    view.setPanelsEnabled(UnlockedPanels, false);
    const int64_t start = clock.nowMs();
    s.exchanges().startPresetWrite();
    clock.advance(25000);

    EXPECT_EQ(unit.framesReceived(KindWrite, CodePresetBlock), 20);
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(unit.presetName(n), "Set" + std::to_string(n));
    const auto headers = link.matching("A5A5A500A1");
    ASSERT_EQ(headers.size(), 20u);
    EXPECT_EQ(headers[1].atMs - headers[0].atMs, 1050);
    EXPECT_EQ(headers[0].atMs - start, 1000);
    EXPECT_EQ(view.loadList.at(4), "Pre5:Set5");
    EXPECT_EQ(view.progress, 100);
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    EXPECT_TRUE(unitMatchesModel());
}

} // namespace
} // namespace m7410::test
