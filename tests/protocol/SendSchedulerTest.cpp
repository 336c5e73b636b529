#include "SessionFixture.h"

namespace m7410::test {
namespace {

using Sched = SessionFixture;
using testing::ElementsAre;

TEST_F(Sched, LowestSlotFirstOnePer510msAndARaisedTwiceSlotGoesOnceWithLaterContents) {
    s.linkOpen() = 1;
    link.hidActive = true;
    s.builders().QueueCrossoverMessage(0); // slot 2
    s.builders().QueueBasicMessage(0);     // slot 1
    s.model().outputs[0].gain = 7;
    s.builders().QueueBasicMessage(0);
    s.pending()[3] = 2; // only exactly 1 counts as pending
    s.scheduler().startPolling();
    clock.advanceTo(1520);
    ASSERT_EQ(link.sent.size(), 3u);
    EXPECT_EQ(link.sent[0].atMs, 210);
    EXPECT_EQ(link.sent[0].hex.substr(0, 22), "A5A5A500A1000000000807");
    EXPECT_EQ(link.sent[1].atMs, 720);
    EXPECT_EQ(link.sent[1].hex.substr(0, 16), "A5A5A500A1000001");
    EXPECT_EQ(link.sent[2].hex, StatusRequestHex);
    EXPECT_EQ(link.sent[2].atMs, 1520); // 300 ms pause, then a full poll interval
    EXPECT_TRUE(link.sent[0].hid);
    EXPECT_EQ(s.pending()[3], 2);
}

TEST_F(Sched, AnUnansweredPollTimesOutFromTheFirstPollAndAQueuedMessageRestartsTheCount) {
    s.linkOpen() = 1;
    s.scheduler().startPolling();
    clock.advanceTo(1200); // polls at 500 and 1000 arm the time-out once, at 500
    s.builders().QueueLimiterMessage(1);
    clock.advanceTo(2600); // taken at 1210, sent at 1410, polls again from 2210
    EXPECT_TRUE(watch.expired.empty());
    EXPECT_EQ(link.timesOf(StatusRequestHex), (std::vector<int64_t>{500, 1000, 2210}));
    clock.advanceTo(5000);
    EXPECT_THAT(watch.expired, ElementsAre("intimer@4210"));
}

TEST_F(Sched, NothingLeavesWhileTheLinkIsClosed) {
    s.RaisePending(1);
    s.builders().QueueBasicMessage(0); // builders do nothing either
    s.scheduler().startPolling();
    clock.advanceTo(3000);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(s.tick().isActive());
    EXPECT_EQ(s.frames().frame(1)[0], 0);
}

TEST_F(Sched, SystemRecordRequestIsBuiltOnTheFlyAndZeroDbProgressCountsOnlyTheSixBands) {
    s.linkOpen() = 1;
    view.showProgress(0);
    view.setPanelsEnabled(EditingPanels, false);
    s.scheduler().beginBandProgress(1);
    // A crossover field committed as "0 dB" was pressed goes first; it is not a band step.
    s.builders().QueueCrossoverMessage(1);
    for (int row = 0; row < 6; ++row)
        s.builders().QueueEqBandMessage(bandAddress(1, row));
    s.RaisePending(SystemRecordPending);
    s.scheduler().startPolling();
    clock.advanceTo(210);
    EXPECT_EQ(view.progress, 0);
    clock.advanceTo(6 * 510 + 209);
    EXPECT_EQ(view.progress, 80);
    EXPECT_TRUE(view.progressShown);
    clock.advance(1);
    EXPECT_EQ(view.progress, 96);
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_EQ(s.bandProgressActive(), 0);
    clock.advance(510);
    EXPECT_EQ(link.sent.back().hex, SystemRecordRequestHex);
    EXPECT_EQ(view.progress, 96);
}

} // namespace
} // namespace m7410::test
