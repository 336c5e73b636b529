#include "ctl/BatchInput.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace m7410 {

std::optional<std::string> StreamInput::nextLine() {
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    return line;
}

bool DescriptorInput::fill(bool wait) {
    if (ended) return false;
    pollfd p{fd, POLLIN, 0};
    int ready = 0;
    while (true) {
        ready = ::poll(&p, 1, wait ? (whileWaiting ? WaitSliceMs : -1) : 0);
        if (ready > 0 || !wait) break;
        if (ready < 0 && errno != EINTR) break;
        if (whileWaiting && !whileWaiting()) {
            ended = true;
            return false;
        }
    }
    if (ready <= 0) return ready == 0;
    char chunk[4096];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) return true;
    if (n <= 0) {
        ended = true;
        return false;
    }
    buffer.append(chunk, static_cast<std::size_t>(n));
    return true;
}

std::optional<std::string> DescriptorInput::nextLine() {
    while (buffer.find('\n') == std::string::npos && fill(true)) {
    }
    const std::size_t end = buffer.find('\n');
    if (end == std::string::npos) {
        // The last line may lack its end.
        if (buffer.empty()) return std::nullopt;
        std::string last = std::move(buffer);
        buffer.clear();
        return last;
    }
    std::string line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return line;
}

bool DescriptorInput::lineReady() {
    if (buffer.find('\n') != std::string::npos || ended) return true;
    // Whatever has been written already, without waiting for more.
    while (fill(false) && buffer.find('\n') == std::string::npos && !ended) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) break;
    }
    return buffer.find('\n') != std::string::npos || ended;
}

} // namespace m7410
