#include "presets/ApplyParameterText.h"
#include "presets/PresetFileReader.h"
#include "protocol/SessionFixture.h"

#include <QTemporaryDir>

#include <fstream>

#include <sys/stat.h>

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
    // A pipe nobody writes to must not hang the window.
    const std::string fifo = dir.filePath("fifo").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    error.clear();
    EXPECT_EQ(readPresetFile(fifo, lines, error), PresetFileRead::Unreadable);
    EXPECT_FALSE(error.empty());

    const std::string record = std::string(600, 'a') + std::string(64, 'F');
    EXPECT_TRUE(isGroupRecord(record));
    EXPECT_FALSE(isGroupRecord(record.substr(1)));
    EXPECT_FALSE(isGroupRecord(record + "0"));
    EXPECT_FALSE(isGroupRecord(std::string(663, '0') + "g"));
}

TEST_F(SessionFixture, ApplyParameterTextTakesOnlyARecordAndKeepsTheLinkFlag) {
    BlockData block = encodeBlock(ChannelModel{}, BlockData{});
    block[static_cast<std::size_t>(addressOf(basicGroup(2)).blockOffset)] = 230; // gain
    setBlockName(block, "Named");
    block[BlockNameOffset + 6] = 'X'; // after the first zero byte: not part of the name
    const std::string record =
        toHex(buildFrame(0, KindReply, 0, CodeCurrentBlock, 0, block.data(), block.size()));

    s.linkOpen() = 1;
    for (const std::string& text :
         {record.substr(2), record + "00", std::string("G").append(record, 1)})
        EXPECT_FALSE(ApplyParameterText(s, text));
    EXPECT_TRUE(view.bandsRefreshed.empty());
    EXPECT_FALSE(view.volume.has_value());

    for (int32_t open : {1, 0}) {
        s.linkOpen() = open;
        ASSERT_TRUE(ApplyParameterText(s, record));
        EXPECT_EQ(s.linkOpen(), open);
    }
    EXPECT_EQ(s.model().outputs[2].gain, 200);
    EXPECT_EQ(view.presetName, "Named");
    EXPECT_EQ(s.currentChannel(), 3);
    EXPECT_EQ(s.currentBand(), 23);
}

} // namespace
} // namespace m7410::test
