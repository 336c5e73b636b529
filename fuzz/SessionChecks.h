#pragma once

#include "OutboundCheck.h"
#include "protocol/FakeLink.h"
#include "protocol/Session.h"
#include "support/HexText.h"

#include <string>
#include <vector>

namespace m7410::fuzz {

// The dispatcher empties a receive text whose head nobody takes once it reaches this many
// characters, so no input may leave more behind.
inline constexpr std::size_t ReceiveTextBound = 1000;

// Why the receive text is longer than any input may leave it; empty when it is not.
inline std::string receiveTextFault(Session& s) {
    if (s.receiveText().size() < ReceiveTextBound) return {};
    return "receive text left at " + std::to_string(s.receiveText().size()) + " characters";
}

// Everything the fake link recorded, as the bytes the unit would have got.
inline std::vector<uint8_t> sentBytes(const test::FakeLink& link) {
    std::vector<uint8_t> out;
    for (const test::FakeLink::Sent& sent : link.sent) {
        const auto bytes = fromHex(sent.hex);
        if (bytes) out.insert(out.end(), bytes->begin(), bytes->end());
    }
    return out;
}

// Why the session is in a state that no input from the unit may cause; empty when it is sound.
inline std::string sessionFault(Session& s, const test::FakeLink& link) {
    if (std::string text = receiveTextFault(s); !text.empty()) return text;
    ChannelModel clamped = s.model();
    clamped.clampToTables();
    if (!(clamped == s.model())) return "the model holds a value outside its tables";
    if (s.groupsCollected() < 0 || s.groupsCollected() >= PresetSlotCount)
        return "groupsCollected is " + std::to_string(s.groupsCollected());
    const std::string outbound = outboundFault(sentBytes(link));
    if (!outbound.empty()) return "malformed outbound frame: " + outbound;
    return {};
}

} // namespace m7410::fuzz
