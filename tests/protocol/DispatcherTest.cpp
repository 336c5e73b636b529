#include "FileText.h"
#include "SessionFixture.h"

#include "protocol/ParameterBlock.h"

#include <QTemporaryDir>

#include <array>

namespace m7410::test {
namespace {

using Dispatch = SessionFixture;
using testing::ElementsAre;

std::string frameHex(uint8_t kind, uint8_t argument, uint8_t code, const uint8_t* data,
                     std::size_t size) {
    return toHex(buildFrame(0, kind, argument, code, 0, data, size));
}
std::string statusHex(uint8_t bass) {
    const uint8_t d[8] = {bass};
    return frameHex(KindReply, 0, CodeStatus, d, 8);
}
std::string systemRecordHex(uint8_t preset) {
    const uint8_t d[8] = {preset};
    return frameHex(KindReply, 0, CodeSystemRecord, d, 8);
}
std::string blockHex(uint8_t code, uint8_t slot, const BlockData& b) {
    return frameHex(KindReply, slot, code, b.data(), b.size());
}

// A block with values a received set must limit or show.
BlockData sampleBlock() {
    ChannelModel m;
    m.outputs[0].gain = 230; // allowed on channel 0
    m.outputs[0].outputOn = 0;
    m.outputs[2].gain = 230; // channel 2 stops at 0.0 dB
    m.outputs[1].crossover.hpf.type = 12;
    m.main.phaseInvert = 1;
    m.main.volume = 301;
    BlockData b = encodeBlock(m, BlockData{});
    setBlockName(b, "Club");
    return b;
}

TEST_F(Dispatch, StatusAndSystemRecordAreShownAndAlwaysRemoved) {
    s.startUpTimeout().start();
    s.pollTimeout().start();
    s.receiveText() = statusHex(1);
    s.ProcessReceived();
    EXPECT_EQ(view.bassOn, true);
    EXPECT_FALSE(s.startUpTimeout().isActive() || s.pollTimeout().isActive());
    EXPECT_EQ(link.assemblyResets, 1);
    s.receiveText() = statusHex(2); // no colour for 2, but still removed
    s.ProcessReceived();
    EXPECT_EQ(view.bassOn, true);
    EXPECT_TRUE(s.receiveText().empty());
    // A record of a low preset number does not hide the reply behind it.
    s.receiveText() = systemRecordHex(3) + statusHex(0);
    s.ProcessReceived();
    EXPECT_EQ(s.currentPresetNumber(), 3);
    EXPECT_EQ(view.presetNumber, 3);
    EXPECT_EQ(view.bassOn, false);
    EXPECT_TRUE(s.receiveText().empty());
}

TEST_F(Dispatch, StoreAcknowledgementConfirmsOnlyAnAwaitedStore) {
    const std::string ack = frameHex(KindAck, 0, 0, nullptr, 0);
    s.receiveText() = ack + statusHex(1).substr(0, 20);
    s.ProcessReceived();
    EXPECT_EQ(s.receiveText(), statusHex(1).substr(0, 20));
    s.storeAckPending() = true;
    s.receiveText() = ack;
    s.ProcessReceived();
    s.receiveText() = ack;
    s.ProcessReceived();
    EXPECT_TRUE(view.messages.empty());
    clock.advance(10);
    EXPECT_THAT(view.messages, ElementsAre("Successfully saved."));
    EXPECT_TRUE(s.scheduler().isPending(SystemRecordPending));
    clock.advance(100);
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(Dispatch, CurrentBlockIsLimitedShownRedrawnAndAsksForTheNames) {
    link.hidActive = true;
    s.linkOpen() = 1; // a link being opened
    s.blockReadTimeout().start();
    s.receiveText() = blockHex(CodeCurrentBlock, 0, sampleBlock());
    s.ProcessReceived();
    EXPECT_EQ(s.model().outputs[0].gain, 230);
    EXPECT_EQ(s.model().outputs[2].gain, 200);
    EXPECT_EQ(s.model().outputs[1].crossover.hpf.type, 11);
    EXPECT_EQ(s.currentPresetName(), "Club");
    EXPECT_EQ(view.presetName, "Club");
    EXPECT_EQ(view.polarity[3], true);
    EXPECT_EQ(view.polarity[0], false);
    EXPECT_EQ(view.soundOn[0], false);
    EXPECT_EQ(view.soundOn[1], true);
    EXPECT_EQ(view.volume, 301);
    ASSERT_EQ(view.bandsRefreshed.size(), 24u);
    EXPECT_EQ(view.bandsRefreshed.back(), 23);
    EXPECT_THAT(view.highPass,
                ElementsAre(std::pair(0, 0), std::pair(1, 11), std::pair(2, 0), std::pair(3, 0)));
    EXPECT_EQ(view.lowPass.size(), 4u);
    EXPECT_EQ(s.currentChannel(), 3);
    EXPECT_EQ(s.currentBand(), 23);
    EXPECT_FALSE(s.blockReadTimeout().isActive());
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].hex, NamesRequestHex);

    // The same reply ending a recall asks for the preset number and gives the window back.
    s.recallPending() = true;
    s.recallTimeout().start();
    view.showProgress(50);
    view.setPanelsEnabled(UnlockedPanels, false);
    s.receiveText() = blockHex(CodeCurrentBlock, 0, sampleBlock());
    s.ProcessReceived();
    EXPECT_EQ(link.sent.size(), 1u);
    EXPECT_TRUE(s.scheduler().isPending(SystemRecordPending));
    EXPECT_FALSE(s.recallTimeout().isActive() || view.progressShown || s.recallPending());
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
}

TEST_F(Dispatch, StartUpRepliesAfterTheLinkClosedGoNoFurther) {
    // Over USB the unit is still read after a start-up time-out closed the link.
    link.hidActive = true;
    s.receiveText() = blockHex(CodeCurrentBlock, 0, sampleBlock());
    s.ProcessReceived();
    EXPECT_EQ(s.currentPresetName(), "Club");
    EXPECT_TRUE(link.sent.empty());
    const std::array<uint8_t, 400> names{};
    s.receiveText() = frameHex(KindReply, 0, CodeNames, names.data(), names.size());
    s.ProcessReceived();
    EXPECT_EQ(view.loadList.size(), 20u);
    EXPECT_FALSE(s.statusPoll().isActive() || s.tick().isActive());
    EXPECT_FALSE(s.scheduler().isPending(SystemRecordPending));
}

TEST_F(Dispatch, CurrentBlockDuringAOneGroupSaveGoesToTheFileOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("M_7410");
    view.savePath = path.toStdString();
    const ChannelModel before = s.model();
    const std::string frame = blockHex(CodeCurrentBlock, 0, sampleBlock());
    s.savingOneToFile() = true;
    s.receiveText() = frame;
    s.ProcessReceived();
    EXPECT_EQ(s.model(), before);
    EXPECT_TRUE(view.bandsRefreshed.empty());
    EXPECT_EQ(readFile(path.toStdString()), frame + "\r\n");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());

    view.savePath.reset(); // cancelled: no file, the exchange still ends
    s.statusPoll().stop();
    s.savingOneToFile() = true;
    s.receiveText() = frame;
    s.ProcessReceived();
    EXPECT_EQ(view.saveDialogs.size(), 2u);
    EXPECT_TRUE(s.receiveText().empty());
    EXPECT_TRUE(s.statusPoll().isActive());
}

TEST_F(Dispatch, NoiseIsDroppedAndPartialFramesWait) {
    s.receiveText() = "FFA5A5A5";
    s.ProcessReceived();
    EXPECT_TRUE(s.receiveText().empty());
    s.receiveText() = "A5A5" + std::string(996, '0');
    s.ProcessReceived();
    EXPECT_TRUE(s.receiveText().empty());
    s.receiveText() = "A5A5"; // a start marker still arriving
    s.ProcessReceived();
    EXPECT_EQ(s.receiveText(), "A5A5");
    s.receiveText() += statusHex(1).substr(4, 30);
    s.ProcessReceived();
    EXPECT_EQ(s.receiveText().size(), 34u);
    s.receiveText() += statusHex(1).substr(34);
    s.ProcessReceived();
    EXPECT_EQ(view.bassOn, true);
    EXPECT_TRUE(s.receiveText().empty());
    // A preset block nobody asked for is not collected; it waits at the head until the text
    // reaches the limit.
    const std::string unasked = blockHex(CodePresetBlock, 1, BlockData{});
    s.receiveText() = unasked;
    s.ProcessReceived();
    EXPECT_TRUE(s.collection().empty());
    EXPECT_EQ(s.receiveText(), unasked);
    s.receiveText() += statusHex(1) + unasked.substr(0, 300);
    s.ProcessReceived();
    EXPECT_TRUE(s.receiveText().empty());
}

TEST_F(Dispatch, RepliesMergedIntoOneLongBatchAreAllHandled) {
    s.savingAllToFile() = true;
    s.receiveText() = blockHex(CodePresetBlock, 1, BlockData{}) +
                      blockHex(CodePresetBlock, 2, BlockData{}) + statusHex(1).substr(0, 10);
    ASSERT_GE(s.receiveText().size(), 1000u);
    s.ProcessReceived();
    EXPECT_EQ(s.groupsCollected(), 2);
    EXPECT_EQ(s.collection().size(), 2u);
    EXPECT_EQ(s.receiveText(), statusHex(1).substr(0, 10));
}

} // namespace
} // namespace m7410::test
