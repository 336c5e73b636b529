// The names reply from literal bytes: 20 names of 20 bytes, cut at a zero byte, Latin-1 kept.
#include "SessionFixture.h"

#include "protocol/PendingRaiser.h"

namespace m7410::test {
namespace {

using NamesReply = SessionFixture;

// A5 A5 A5, device 0, reply 52, argument 00, code 26, sub-code 00, length 01 90 (400 bytes).
const std::string NamesHeader = "A5A5A500520026000190";

std::string hexOf(const std::string& bytes) {
    return toHex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// The frame around 400 name bytes given as hex text, with its checksum over bytes 3..409.
std::string namesFrame(const std::string& dataHex) {
    const std::string body = NamesHeader + dataHex;
    uint8_t x = 0;
    for (std::size_t i = 6; i < body.size(); i += 2)
        x ^= static_cast<uint8_t>(std::stoi(body.substr(i, 2), nullptr, 16));
    return body + toHex(&x, 1) + "AA";
}

TEST_F(NamesReply, NamesAreTakenWholeCutAtTheirFirstZeroByteAndKeepLatin1) {
    std::string data;
    // Slot 1 fills all 20 bytes; slot 2 ends at a zero byte with bytes after it; slot 3 holds
    // Latin-1 letters; the other slots are full 20-byte names "Slot 04 ............".
    data += hexOf("Studio Monitor Set A");
    data += hexOf("Club") + "00" + hexOf("garbage") + std::string(2 * 8, '0');
    data += "436166E9"
            "20"
            "4DFC6E6368656E"
            "20"
            "B0"
            "00" +
            std::string(2 * 5, 'F');
    for (int k = 4; k <= 20; ++k) {
        const std::string name = "Slot " + std::string(k < 10 ? "0" : "") + std::to_string(k);
        data += hexOf(name + std::string(20 - name.size(), '.'));
    }
    ASSERT_EQ(data.size(), 800u);
    s.linkOpen() = 1; // a link being opened
    s.namesReadTimeout().start();
    s.receiveText() = namesFrame(data);
    ASSERT_EQ(s.receiveText().size(), 824u);
    s.ProcessReceived();

    EXPECT_EQ(s.presetNames()[0], "Studio Monitor Set A");
    EXPECT_EQ(s.presetNames()[1], "Club");
    EXPECT_EQ(s.presetNames()[2], "Caf\xE9 M\xFCnchen \xB0");
    EXPECT_EQ(s.presetNames()[19], "Slot 20" + std::string(13, '.'));
    ASSERT_EQ(view.loadList.size(), 20u);
    EXPECT_EQ(view.loadList[0], "Pre1:Studio Monitor Set A");
    EXPECT_EQ(view.loadList[1], "Pre2:Club");
    EXPECT_EQ(view.loadList[2], "Pre3:Caf\xE9 M\xFCnchen \xB0");
    EXPECT_EQ(view.loadList[9], "Pre10:Slot 10" + std::string(13, '.'));
    EXPECT_EQ(view.firstPresetSelected, 1);

    // What the reply sets off: start-up time-out over, preset number asked for, polling on.
    EXPECT_FALSE(s.namesReadTimeout().isActive());
    EXPECT_TRUE(s.scheduler().isPending(SystemRecordPending));
    EXPECT_TRUE(s.statusPoll().isActive() && s.tick().isActive());
    EXPECT_TRUE(s.receiveText().empty());
}

TEST_F(NamesReply, AllZeroNamesGiveBarePrefixesAndAShortReplyWaits) {
    const std::string frame = namesFrame(std::string(800, '0'));
    s.receiveText() = frame.substr(0, 822);
    s.ProcessReceived();
    EXPECT_TRUE(view.loadList.empty());
    EXPECT_EQ(s.receiveText().size(), 822u);

    s.receiveText() = frame;
    s.ProcessReceived();
    ASSERT_EQ(view.loadList.size(), 20u);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(view.loadList[k], "Pre" + std::to_string(k + 1) + ":");
        EXPECT_TRUE(s.presetNames()[k].empty());
    }
}

} // namespace
} // namespace m7410::test
