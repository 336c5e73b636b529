#include "ctl/StandardStreams.h"

#include <vector>

namespace m7410 {

std::optional<std::string> readBounded(std::istream& in, std::size_t limit, std::string& error) {
    std::string text;
    std::vector<char> buffer(4096);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        text.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > limit) {
            error = "more than " + std::to_string(limit) + " bytes";
            return std::nullopt;
        }
    }
    if (in.bad()) {
        error = "could not be read";
        return std::nullopt;
    }
    return text;
}

} // namespace m7410
