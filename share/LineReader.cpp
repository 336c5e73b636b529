#include "share/LineReader.h"

namespace m7410 {

void LineReader::append(const QByteArray& bytes) { buffer += bytes; }

std::optional<LineReader::Line> LineReader::next() {
    for (;;) {
        const qsizetype end = buffer.indexOf('\n');
        if (skipping) {
            if (end < 0) {
                buffer.clear();
                return std::nullopt;
            }
            buffer.remove(0, end + 1);
            skipping = false;
            continue;
        }
        if (end < 0) {
            if (buffer.size() <= limit) return std::nullopt;
            buffer.clear();
            skipping = true;
            return Line{{}, true};
        }
        Line line;
        line.tooLong = end > limit;
        if (!line.tooLong) line.text = buffer.left(end);
        buffer.remove(0, end + 1);
        return line;
    }
}

} // namespace m7410
