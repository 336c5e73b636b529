// Frames written as "A5 A5 ..." text in tests.
#pragma once

#include "protocol/Frame.h"

#include <sstream>
#include <string>

namespace m7410::test {

// "A5 A5 ..." as bytes, so expected frames read like a trace.
inline Bytes bytesOf(const std::string& spaced) {
    std::istringstream in(spaced);
    Bytes out;
    std::string b;
    while (in >> b)
        out.push_back(static_cast<uint8_t>(std::stoi(b, nullptr, 16)));
    return out;
}

inline Bytes zeros(std::size_t n) {
    return Bytes(n, 0);
}

inline Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace m7410::test
