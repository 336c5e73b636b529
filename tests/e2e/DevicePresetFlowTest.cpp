#include "PresetRigs.h"

namespace m7410::test {
namespace {

TEST_F(SerialPresets, RecallAppliesTheSlotAndAnUnansweredRecallTimesOut) {
    face.setBytesPerSecond(960);
    connect();
    presets.loadClicked(4);
    EXPECT_EQ(view.disabled, UnlockedPanels);
    EXPECT_EQ(link.matching("A5A5A500A205280000008FAA").size(), 1u);
    clock.advance(2000);
    EXPECT_EQ(unit.currentSet(), unit.preset(5));
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(view.presetName, unit.presetName(5));
    EXPECT_EQ(view.presetNumber, 5); // the system record followed the recall
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    // The answered recall's progress ticks are over: they do not run into the next exchange.
    files.saveTwentyGroupsToPc();
    clock.advance(1200);
    EXPECT_EQ(view.progress, 5);
    clock.advance(16000);

    const ChannelModel before = s.model();
    unit.faults().drop[CodeCurrentBlock] = 1;
    presets.loadClicked(7);
    clock.advance(7999);
    EXPECT_EQ(view.progress, 90);
    clock.advance(1);
    EXPECT_EQ(view.progress, 100);
    clock.advance(1999);
    EXPECT_TRUE(view.progressShown);
    EXPECT_FALSE(view.disconnectedShown);
    clock.advance(1);
    EXPECT_FALSE(view.progressShown);
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_EQ(s.model(), before);
    EXPECT_TRUE(s.statusPoll().isActive());
}

TEST_F(HidPresets, StoreIsConfirmedOnceAndTheMemoryMenuStoresItsOwnName) {
    connect();
    presets.saveClicked(2, "Club");
    const Bytes& w = unit.receivedLog().back();
    ASSERT_EQ(w.size(), 32u);
    EXPECT_EQ(w[4], KindWrite);
    EXPECT_EQ(w[5], 3);
    EXPECT_EQ(Bytes(w.begin() + 10, w.begin() + 14), (Bytes{0x43, 0x6C, 0x75, 0x62}));
    EXPECT_EQ(Bytes(w.begin() + 14, w.begin() + 30), Bytes(16, 0));
    // Shown before the unit answers.
    EXPECT_EQ(view.loadList.at(2), "Pre3:Club");
    EXPECT_EQ(view.presetName, "Club");
    clock.advance(2000);
    EXPECT_EQ(view.messages, std::vector<std::string>{"Successfully saved."});
    EXPECT_EQ(unit.presetName(3), "Club");
    EXPECT_EQ(unit.preset(3), unit.currentSet());
    EXPECT_EQ(view.presetNumber, 3);
    presets.saveListChanged(2);
    EXPECT_EQ(view.nameField, "Club");

    presets.memoryMenuSave(4, "Dialog name");
    clock.advance(2000);
    EXPECT_EQ(unit.presetName(5), "Dialog name");
    EXPECT_EQ(view.presetName, "Dialog name");
    EXPECT_EQ(view.loadList.at(4), "Pre5:Dialog name");
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(HidPresets, NothingHappensWhileTheLinkIsClosedOrNoSlotIsChosen) {
    view.openPath = view.savePath = dir.filePath("x").toStdString();
    presets.loadClicked(0);
    presets.saveClicked(0, "A");
    files.saveOneGroupToPc();
    files.saveTwentyGroupsToPc();
    files.loadOneGroupToDevice();
    files.loadTwentyGroupsToDevice();
    EXPECT_FALSE(presets.memoryMenuAvailable());
    connect();
    const int frames = unit.framesReceived();
    presets.loadClicked(-1);
    presets.saveClicked(20, "A");
    clock.advance(100);
    EXPECT_EQ(unit.framesReceived(KindWrite, CodePresetName), 0);
    EXPECT_LE(unit.framesReceived(), frames + 1); // at most a status poll
    EXPECT_TRUE(view.openDialogs.empty() && view.saveDialogs.empty());
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_FALSE(view.progressShown);
    EXPECT_TRUE(view.messages.empty());
}

} // namespace
} // namespace m7410::test
