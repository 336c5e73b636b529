#include "PresetRigs.h"

#include "presets/PresetFileReader.h"

#include <algorithm>
#include <cctype>

namespace m7410::test {
namespace {

std::array<BlockData, PresetSlotCount> presetsOf(const sim::SimUnit& unit) {
    std::array<BlockData, PresetSlotCount> out;
    for (int n = 1; n <= PresetSlotCount; ++n)
        out[n - 1] = unit.preset(n);
    return out;
}

TEST_F(SerialPresets, SavesTheSetInForceAndLoadsARecordBackIntoItOnly) {
    face.setBytesPerSecond(960);
    connect();
    view.savePath = dir.filePath("M_7410").toStdString();
    files.saveOneGroupToPc();
    clock.advance(1000);
    ASSERT_EQ(view.saveDialogs, std::vector{PresetFileKind::OneGroup});
    EXPECT_EQ(readFile(*view.savePath), recordHex(CodeCurrentBlock, 0, unit.currentSet()) + "\r\n");
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());

    // Slot 7's record under a foreign header, in lower case, split over two lines.
    std::string record = recordHex(CodePresetBlock, 9, unit.preset(7));
    record.replace(0, 6, "0123ab");
    std::transform(record.begin(), record.end(), record.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    view.openPath = dir.filePath("split").toStdString();
    writeFile(*view.openPath, record.substr(0, 300) + "\n" + record.substr(300) + "\n");
    const auto stored = presetsOf(unit);
    // An edit whose send step is armed goes neither between the block header and the block
    // nor after it, over the loaded set.
    s.model().band(3).freq = 77;
    s.builders().QueueEqBandMessage(3);
    clock.advance(150);

    const int64_t start = clock.nowMs();
    files.loadOneGroupToDevice();
    EXPECT_EQ(clock.nowMs() - start, 8100);
    EXPECT_EQ(view.presetName, unit.presetName(7));
    EXPECT_EQ(view.progress, 100);
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    const auto header = std::find_if(link.sent.begin(), link.sent.end(),
                                     [](const auto& f) { return f.hex == "A5A5A500A10028000140"; });
    ASSERT_LT(header + 1, link.sent.end());
    EXPECT_EQ(header[1].hex.size(), 2 * BlockImageSize);
    clock.advance(2000);
    EXPECT_EQ(unit.currentSet(), unit.preset(7));
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(presetsOf(unit), stored);
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(HidPresets, SavesTheTwentyPresetsAndWritesEachLineToItsOwnSlot) {
    connect();
    view.savePath = dir.filePath("20M_7410").toStdString();
    files.saveTwentyGroupsToPc();
    EXPECT_TRUE(view.progressShown);
    clock.advance(16000);
    ASSERT_EQ(view.saveDialogs, std::vector{PresetFileKind::TwentyGroup});
    std::vector<std::string> lines = splitLines(readFile(*view.savePath));
    ASSERT_EQ(lines.size(), 20u);
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(lines[n - 1], recordHex(CodePresetBlock, n, unit.preset(n))) << n;
    EXPECT_EQ(view.disabled, 0u);

    // Line n goes to slot n whatever its header says: the file in reverse swaps the slots.
    const auto original = presetsOf(unit);
    const BlockData current = unit.currentSet();
    std::reverse(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    view.openPath = dir.filePath("reversed").toStdString();
    writeFile(*view.openPath, text);
    files.loadTwentyGroupsToDevice();
    clock.advance(25000);
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(unit.preset(n), original[20 - n]) << n;
    EXPECT_EQ(unit.currentSet(), current);
    EXPECT_EQ(view.loadList.at(0), "Pre1:" + blockName(original[19]));
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
}

// Every field of the set holds only in-range values: read back and limited, it is unchanged.
bool holdsOnlyInRangeValues(const BlockData& block) {
    ChannelModel m;
    decodeBlock(block, m);
    return encodeBlock(m, block) == block;
}

TEST_F(HidPresets, OutOfRangeRecordsReachTheUnitLimitedAsTheWindowShowsThem) {
    connect();
    // All "F": valid by the checks, yet no indexed field is in range.
    const std::string wild(BlockTextLength, 'F');
    view.openPath = dir.filePath("wild").toStdString();
    writeFile(*view.openPath, wild + "\r\n");
    files.loadOneGroupToDevice();
    clock.advance(2000);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_TRUE(holdsOnlyInRangeValues(unit.currentSet()));
    // What the unit does not read comes from the file: the name and the unit's own bytes.
    BlockData allOnes;
    allOnes.fill(0xFF);
    EXPECT_EQ(unit.currentSet(), encodeBlock(s.model(), allOnes));
    EXPECT_EQ(s.model().outputs[0].delay, 0xFFFF);
    // 3 gains, 4 x 4 crossover fields and 24 x 5 band fields.
    EXPECT_EQ(logLines("Preset file: 139 fields were outside").size(), 1u);

    // Each record of a 20-group file, the in-range ones untouched.
    const auto original = presetsOf(unit);
    std::string text;
    for (int n = 1; n <= 20; ++n)
        text += (n % 2 ? wild : recordHex(CodePresetBlock, n, original[n - 1])) + "\r\n";
    writeFile(*view.openPath, text);
    files.loadTwentyGroupsToDevice();
    clock.advance(25000);
    for (int n = 1; n <= 20; ++n) {
        EXPECT_TRUE(holdsOnlyInRangeValues(unit.preset(n))) << n;
        if (n % 2 == 0) {
            EXPECT_EQ(unit.preset(n), original[n - 1]) << n;
        }
    }
    EXPECT_EQ(logLines("Preset file record 1: 139 fields").size(), 1u);
    EXPECT_TRUE(logLines("Preset file record 2:").empty());
}

TEST_F(SerialPresets, DamagedMissingOrCancelledFilesChangeNothing) {
    connect();
    const std::string good = recordHex(CodePresetBlock, 1, unit.preset(1));
    auto linesOf = [&](int count) {
        std::string t;
        for (int i = 0; i < count; ++i)
            t += good + "\r\n";
        return t;
    };
    std::string badPair = linesOf(20);
    badPair[19 * 666 + 100] = 'G';
    struct Case {
        PresetFileKind kind;
        std::optional<std::string> content; // nothing: the path does not exist
        std::string message;                // empty: none
    };
    const std::vector<Case> cases = {
        {PresetFileKind::TwentyGroup, linesOf(19), "File damaged."},
        {PresetFileKind::TwentyGroup, linesOf(21), "File damaged."},
        {PresetFileKind::TwentyGroup, badPair, "File damaged."},
        {PresetFileKind::TwentyGroup, linesOf(4) + good.substr(1) + "\r\n" + linesOf(15),
         "File damaged."},
        {PresetFileKind::TwentyGroup, "", ""},
        {PresetFileKind::OneGroup, good + "0", "File damaged."},
        {PresetFileKind::OneGroup, std::string(MaxPresetFileBytes + 1, '0'), "File damaged."},
        {PresetFileKind::OneGroup, "\r\n", ""},
        {PresetFileKind::OneGroup, std::nullopt, "File not read: "},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(i);
        view.openPath = dir.filePath(QString::number(i++)).toStdString();
        if (c.content) writeFile(*view.openPath, *c.content);
        view.messages.clear();
        if (c.kind == PresetFileKind::OneGroup)
            files.loadOneGroupToDevice();
        else
            files.loadTwentyGroupsToDevice();
        EXPECT_EQ(view.messages.size(), c.message.empty() ? 0u : 1u);
        if (!view.messages.empty()) {
            EXPECT_EQ(view.messages[0].rfind(c.message, 0), 0u);
        }
        EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
        EXPECT_FALSE(view.progressShown);
        EXPECT_EQ(view.disabled, 0u);
    }
    view.openPath.reset(); // cancelled
    files.loadOneGroupToDevice();
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    clock.advance(3000);
    EXPECT_TRUE(link.matching("A5A5A500A1").empty());
    EXPECT_EQ(view.openDialogs.size(), cases.size() + 1);
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(HidPresets, UnansweredOrCutShortTransfersGiveTheWindowBack) {
    connect();
    unit.faults().drop[CodeCurrentBlock] = 1;
    files.saveOneGroupToPc(); // the request leaves 50 ms into it
    clock.advance(1949);
    EXPECT_FALSE(view.disconnectedShown);
    clock.advance(1);
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_TRUE(view.saveDialogs.empty());
    EXPECT_EQ(s.savingOneToFile(), 0);
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    view.hideDisconnected();

    // Unplugged during the pause after a one-group load.
    view.openPath = dir.filePath("one").toStdString();
    writeFile(*view.openPath, recordHex(CodeCurrentBlock, 0, unit.preset(2)));
    auto pull = clock.createTimer(
        3000, [this] { face.unplug(); }, true);
    pull->start();
    files.loadOneGroupToDevice();
    EXPECT_EQ(app->connection.caption(), "Disconnect");
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_FALSE(s.statusPoll().isActive() || s.tick().isActive());
    const int progress = view.progress;
    clock.advance(10000);
    EXPECT_EQ(view.progress, progress);

    // Unplugged in the middle of a 20-group load.
    plugUnit();
    clock.advance(3000);
    connect();
    std::string text;
    for (int n = 1; n <= 20; ++n)
        text += recordHex(CodePresetBlock, n, unit.preset(n)) + "\r\n";
    view.openPath = dir.filePath("twenty").toStdString();
    writeFile(*view.openPath, text);
    face.unplugAfterOutputReports(30);
    files.loadTwentyGroupsToDevice();
    clock.advance(25000);
    EXPECT_LT(unit.framesReceived(KindWrite, CodePresetBlock), 20);
    EXPECT_EQ(app->connection.caption(), "Disconnect");
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_FALSE(s.presetWriteStep().isActive() || s.statusPoll().isActive());
}

} // namespace
} // namespace m7410::test
