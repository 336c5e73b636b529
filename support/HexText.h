// Bytes as hexadecimal text and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Protocol data is handled as hexadecimal text: two characters per byte, upper case out,
// either case in.
namespace m7410 {

std::string toHex(const uint8_t* data, std::size_t size);
std::string toHex(const std::vector<uint8_t>& bytes);

// Value of a single hex digit, or -1.
int hexDigitValue(char c);
// Value of the two characters at text[pos], text[pos + 1], or -1 when either is not a digit or
// the text is too short.
int hexByteAt(std::string_view text, std::size_t pos);
// Value of the four characters at text[pos] as two bytes in the order they appear, or -1.
int hexWordAt(std::string_view text, std::size_t pos);

bool isHexText(std::string_view text);
// The bytes of an even-length hex text; nothing when the text is odd or not hex.
std::optional<std::vector<uint8_t>> fromHex(std::string_view text);

} // namespace m7410
