#include "ctl/BatchLine.h"

namespace m7410 {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

std::optional<std::vector<std::string>> splitBatchLine(std::string_view line, std::string& error) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i >= line.size() || line[i] == '#') return words;
        std::string word;
        while (i < line.size() && !blank(line[i])) {
            const char c = line[i++];
            if (c == '\'') {
                const std::size_t end = line.find('\'', i);
                if (end == std::string_view::npos) {
                    error = "no closing ' on the line";
                    return std::nullopt;
                }
                word.append(line.substr(i, end - i));
                i = end + 1;
            } else if (c == '"') {
                bool closed = false;
                while (i < line.size()) {
                    const char q = line[i++];
                    if (q == '"') {
                        closed = true;
                        break;
                    }
                    if (q == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                        word += line[i++];
                    else
                        word += q;
                }
                if (!closed) {
                    error = "no closing \" on the line";
                    return std::nullopt;
                }
            } else {
                word += c;
            }
        }
        words.push_back(std::move(word));
    }
}

} // namespace m7410
