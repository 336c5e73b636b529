#include "support/HexText.h"

namespace m7410 {

std::string toHex(const uint8_t* data, std::size_t size) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.resize(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out[2 * i] = digits[data[i] >> 4];
        out[2 * i + 1] = digits[data[i] & 0x0F];
    }
    return out;
}

std::string toHex(const std::vector<uint8_t>& bytes) {
    return toHex(bytes.data(), bytes.size());
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int hexByteAt(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size()) return -1;
    const int hi = hexDigitValue(text[pos]);
    const int lo = hexDigitValue(text[pos + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

int hexWordAt(std::string_view text, std::size_t pos) {
    const int a = hexByteAt(text, pos);
    const int b = hexByteAt(text, pos + 2);
    return a < 0 || b < 0 ? -1 : a * 256 + b;
}

bool isHexText(std::string_view text) {
    for (char c : text) {
        if (hexDigitValue(c) < 0) return false;
    }
    return true;
}

std::optional<std::vector<uint8_t>> fromHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> out(text.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int v = hexByteAt(text, 2 * i);
        if (v < 0) return std::nullopt;
        out[i] = static_cast<uint8_t>(v);
    }
    return out;
}

} // namespace m7410
