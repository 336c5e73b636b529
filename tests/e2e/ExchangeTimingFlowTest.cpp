// Exchanges that meet queued edits, late replies and each other on the serial line.
#include "PresetRigs.h"

#include "presets/PresetFileReader.h"
#include "protocol/SessionFixture.h"

namespace m7410::test {
namespace {

const std::string ParameterWrite = "A5A5A500A100";
const std::string StoreInSlot3 = "A5A5A500A1032700";
const std::string CurrentBlockRead = "A5A5A500A2002800";
// A one-group save returns after its two pauses.
constexpr int SavePressMs = 2 * PresetFiles::ExchangePauseMs;

// Three edits of three groups, made in the model and queued as the window does.
void editThree(Session& s, int step) {
    s.model().band(3).freq = 70 + step;
    s.builders().QueueEqBandMessage(3);
    s.model().crossover(0).hpf.type = 2 + step;
    s.builders().QueueCrossoverMessage(0);
    s.model().outputs[1].gain = 100 + step;
    s.builders().QueueBasicMessage(1);
}

std::vector<int64_t> timesSince(const FakeLink& link, const std::string& prefix, int64_t from) {
    std::vector<int64_t> out;
    for (const int64_t t : link.timesOf(prefix))
        if (t >= from) out.push_back(t);
    return out;
}

TEST_F(SerialPresets, StoreAndOneGroupSaveSendTheQueuedEditsFirstAtTheUsualPace) {
    face.setBytesPerSecond(960);
    connect();
    clock.advance(100); // between two polls
    editThree(s, 0);
    int64_t start = clock.nowMs();
    presets.saveClicked(2, "Club");
    // Each edit waited its 10 + 200 ms step and the 300 ms pause after the one before.
    const std::vector<int64_t> edits = timesSince(link, ParameterWrite, start);
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[1] - edits[0], 510);
    EXPECT_EQ(edits[2] - edits[1], 510);
    const std::vector<int64_t> store = timesSince(link, StoreInSlot3, start);
    ASSERT_EQ(store.size(), 1u);
    EXPECT_GT(store[0], edits[2]);
    EXPECT_LE(store[0], edits[2] + 10);
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    clock.advance(2000);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(unit.preset(3), unit.currentSet());
    EXPECT_EQ(unit.presetName(3), "Club");
    EXPECT_EQ(view.messages, std::vector<std::string>{"Successfully saved."});

    editThree(s, 1);
    view.savePath = dir.filePath("M_7410").toStdString();
    start = clock.nowMs();
    files.saveOneGroupToPc();
    const std::vector<int64_t> read = timesSince(link, CurrentBlockRead, start);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_GT(read[0], timesSince(link, ParameterWrite, start).at(2));
    clock.advance(1000);
    ASSERT_EQ(view.saveDialogs, std::vector{PresetFileKind::OneGroup});
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(readFile(*view.savePath), recordHex(CodeCurrentBlock, 0, unit.currentSet()) + "\r\n");
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(SerialPresets, ALinkClosedWhileEditsDrainEndsTheActionQuietly) {
    connect();
    for (const bool store : {true, false}) {
        SCOPED_TRACE(store);
        editThree(s, store ? 0 : 1);
        stray = clock.createTimer(
            700, [this] { connection.CloseLink(); }, true);
        stray->start();
        if (store) {
            presets.saveClicked(2, "Lost");
        } else {
            files.saveOneGroupToPc();
        }
        EXPECT_EQ(connection.caption(), "Disconnect");
        EXPECT_FALSE(view.progressShown);
        EXPECT_EQ(view.disabled, 0u);
        EXPECT_EQ(s.storeAckPending() + s.savingOneToFile(), 0);
        clock.advance(5000);
        EXPECT_EQ(unit.framesReceived(KindWrite, CodePresetName), 0);
        EXPECT_EQ(unit.framesReceived(KindRequest, CodeCurrentBlock), store ? 1 : 2);
        EXPECT_TRUE(view.messages.empty() && view.saveDialogs.empty());
        EXPECT_FALSE(view.disconnectedShown);
        clock.advance(2000); // the connection button's pause
        connect();
    }
}

TEST_F(SerialPresets, EachOneGroupSavePressOwnsItsWait) {
    face.setBytesPerSecond(960);
    connect();
    // Cancelled dialogs; the second press comes as the first one's 2 s wait would end.
    std::size_t dialogs = 0;
    for (const int apart : {1950, 2010, 2040}) {
        SCOPED_TRACE(apart);
        files.saveOneGroupToPc();
        clock.advance(apart - SavePressMs);
        files.saveOneGroupToPc();
        clock.advance(3000);
        EXPECT_EQ(view.saveDialogs.size(), dialogs += 2);
        EXPECT_FALSE(view.disconnectedShown);
    }
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());

    // Unanswered, and a 20-preset read started meanwhile: the time-out leaves the link to it.
    unit.faults().drop[CodeCurrentBlock] = 1;
    view.savePath = dir.filePath("20M_7410").toStdString();
    files.saveOneGroupToPc();
    clock.advance(500);
    files.saveTwentyGroupsToPc();
    clock.advance(2000);
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_FALSE(s.statusPoll().isActive() || s.tick().isActive());
    clock.advance(16000);
    EXPECT_EQ(view.saveDialogs.back(), PresetFileKind::TwentyGroup);
    EXPECT_EQ(splitLines(readFile(*view.savePath)).size(), 20u);
}

TEST_F(SerialPresets, ANamesReplyStillArrivingAtTheFirstPollIsTakenWhole) {
    face.setBytesPerSecond(960);
    connect();
    std::array<BlockData, PresetSlotCount> original;
    std::string text;
    for (int n = PresetSlotCount; n >= 1; --n) {
        original[n - 1] = unit.preset(n);
        text += recordHex(CodePresetBlock, n, unit.preset(n)) + "\r\n";
    }
    view.openPath = dir.filePath("reversed").toStdString();
    writeFile(*view.openPath, text);
    // A unit slower to answer: the 412-byte reply runs from 300 to about 730 ms after the
    // request, across the first poll at 550 ms.
    unit.faults().latencyMs = 300;
    files.loadTwentyGroupsToDevice();
    clock.advance(23000);
    const int64_t names = link.timesOf(NamesRequestHex).back();
    EXPECT_EQ(timesSince(link, StatusRequestHex, names).at(0), names + 550);
    EXPECT_EQ(view.loadList.at(0), "Pre1:" + blockName(original[19]));
    EXPECT_EQ(view.loadList.at(19), "Pre20:" + blockName(original[0]));
    EXPECT_EQ(timesSince(link, SystemRecordRequestHex, names).size(), 1u);
    EXPECT_FALSE(view.disconnectedShown);
}

} // namespace
} // namespace m7410::test
