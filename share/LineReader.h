// A byte stream cut into lines, with a bound on a line's length, so that a peer that never
// sends a newline cannot make the reader hold more and more.
#pragma once

#include <QByteArray>

#include <optional>

namespace m7410 {

class LineReader {
public:
    explicit LineReader(qsizetype limit) : limit(limit) {}

    struct Line {
        QByteArray text;      // without the newline
        bool tooLong = false; // the line was longer than the limit and is dropped
    };

    void append(const QByteArray& bytes);
    // The next whole line; an over-long one is reported once, and the rest of it up to its
    // newline is dropped unread.
    std::optional<Line> next();

private:
    qsizetype limit;
    QByteArray buffer;
    bool skipping = false;
};

} // namespace m7410
