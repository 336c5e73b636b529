#include "sim/FrameScanner.h"

namespace m7410::sim {

namespace {

// Where a start marker could begin, counting a marker cut off by the end of the buffer.
std::size_t markerCandidate(const Bytes& b) {
    for (std::size_t i = 0; i < b.size(); ++i) {
        bool ok = true;
        for (std::size_t k = 0; k < 3 && i + k < b.size(); ++k)
            ok = ok && b[i + k] == StartMarker;
        if (ok) return i;
    }
    return b.size();
}

} // namespace

void FrameScanner::feed(const uint8_t* bytes, std::size_t size) {
    buffer.insert(buffer.end(), bytes, bytes + size);
    while (scanOnce()) {
    }
}

void FrameScanner::discardPartial() {
    if (buffer.empty()) return;
    if (!resyncing && onMalformed) onMalformed(buffer, "frame stopped arriving");
    buffer.clear();
    resyncing = false;
}

bool FrameScanner::scanOnce() {
    if (buffer.empty()) return false;
    const std::size_t start = markerCandidate(buffer);
    if (start > 0) {
        dropStray(start);
        return true;
    }
    if (buffer.size() < FrameHeaderSize) return false;
    const uint8_t kind = buffer[4];
    if (kind != KindWrite && kind != KindRequest) {
        reject("unknown kind");
        return true;
    }
    const auto n = static_cast<std::size_t>(word(buffer[9], buffer[8]));
    if (n > MaxDataLength) {
        reject("impossible length");
        return true;
    }
    if (buffer.size() < n + FrameOverhead) return false;
    if (buffer[n + FrameOverhead - 1] != EndMarker) {
        reject("no end marker");
        return true;
    }
    const Bytes frame(buffer.begin(), buffer.begin() + std::ptrdiff_t(n + FrameOverhead));
    buffer.erase(buffer.begin(), buffer.begin() + std::ptrdiff_t(n + FrameOverhead));
    resyncing = false;
    // The unit judges everything else (checksum, device number, command).
    if (onFrame) onFrame(frame);
    return true;
}

void FrameScanner::reject(std::string_view why) {
    if (!resyncing && onMalformed) onMalformed(buffer, why);
    resyncing = true;
    // Only one byte goes: a good frame may start anywhere inside what this one claimed, even
    // within its marker (an extra A5 before a frame).
    buffer.erase(buffer.begin());
}

void FrameScanner::dropStray(std::size_t count) {
    if (!resyncing && onMalformed)
        onMalformed(Bytes(buffer.begin(), buffer.begin() + std::ptrdiff_t(count)), "stray bytes");
    resyncing = true;
    buffer.erase(buffer.begin(), buffer.begin() + std::ptrdiff_t(count));
}

} // namespace m7410::sim
