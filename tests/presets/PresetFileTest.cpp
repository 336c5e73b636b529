#include "presets/ApplyParameterText.h"
#include "presets/PresetFileReader.h"
#include "protocol/SessionFixture.h"

#include <QTemporaryDir>

#include <fstream>

namespace m7410::test {
namespace {

using Lines = std::vector<std::string>;

TEST(PresetFileReader, TakesAnyLineEndAndRefusesWhatCannotBeAPresetFile) {
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(splitLines("a\n\r\n"), (Lines{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());

    QTemporaryDir dir;
    const std::string big = dir.filePath("big").toStdString();
    std::ofstream(big) << std::string(MaxPresetFileBytes + 1, 'A');
    Lines lines{"old"};
    std::string error;
    EXPECT_EQ(readPresetFile(big, lines, error), PresetFileRead::TooLarge);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(readPresetFile(dir.filePath("none").toStdString(), lines, error),
              PresetFileRead::Unreadable);
    EXPECT_FALSE(error.empty());

    const std::string record = std::string(600, 'a') + std::string(64, 'F');
    EXPECT_TRUE(isGroupRecord(record));
    EXPECT_FALSE(isGroupRecord(record.substr(1)));
    EXPECT_FALSE(isGroupRecord(record + "0"));
    EXPECT_FALSE(isGroupRecord(std::string(663, '0') + "g"));
}

struct ApplyText : SessionFixture {
    std::string record(const BlockData& block) {
        return toHex(buildFrame(0, KindReply, 0, CodeCurrentBlock, 0, block.data(), block.size()));
    }
};

TEST_F(ApplyText, AppliesARecordAndLeavesTheLinkFlagAsItWas) {
    BlockData block = encodeBlock(ChannelModel{}, BlockData{});
    const std::size_t gain2 = static_cast<std::size_t>(addressOf(basicGroup(2)).blockOffset);
    block[gain2] = 230;
    setBlockName(block, "Named");
    block[BlockNameOffset + 6] = 'X'; // after the first zero byte: not part of the name
    for (int32_t open : {1, 0}) {
        s.linkOpen = open;
        ASSERT_TRUE(ApplyParameterText(s, record(block)));
        EXPECT_EQ(s.linkOpen, open);
    }
    EXPECT_EQ(s.model.outputs[2].gain, 200);
    EXPECT_EQ(view.presetName, "Named");
    EXPECT_EQ(s.currentChannel, 3);
    EXPECT_EQ(s.currentBand, 23);
}

TEST_F(ApplyText, AnythingButARecordChangesNothing) {
    s.linkOpen = 1;
    const ChannelModel before = s.model;
    const std::string good = record(BlockData{});
    for (const std::string& text : {good.substr(2), good + "00", "G" + good.substr(1)})
        EXPECT_FALSE(ApplyParameterText(s, text));
    EXPECT_EQ(s.model, before);
    EXPECT_TRUE(view.bandsRefreshed.empty());
    EXPECT_FALSE(view.volume.has_value());
    EXPECT_EQ(s.linkOpen, 1);
}

} // namespace
} // namespace m7410::test
