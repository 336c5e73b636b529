// Locale-free ASCII helpers for keywords and units in typed values and filter texts.
#pragma once

#include <string>
#include <string_view>

// Keywords and units in typed values and filter texts are ASCII. These ignore the locale, so a
// Latin-1 or Turkish locale cannot change what a keyword matches.
namespace m7410 {

inline std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

inline bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

inline std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace m7410
