// Helpers for the simulated unit's tests.
#pragma once

#include "protocol/Frame.h"
#include "support/HexText.h"

#include <optional>
#include <string_view>

namespace m7410::sim::test {

// Bytes from hex text with optional spaces, as frames are written in the documentation.
inline Bytes hexBytes(std::string_view spaced) {
    std::string compact;
    for (char c : spaced) {
        if (c != ' ') compact += c;
    }
    return fromHex(compact).value_or(Bytes{});
}

} // namespace m7410::sim::test
