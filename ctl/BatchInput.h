// Where a batch's lines come from, and whether the next one is there without waiting for it.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <string>

namespace m7410 {

class BatchInput {
public:
    virtual ~BatchInput() = default;
    // The next line without its end; nothing at the end of the input.
    virtual std::optional<std::string> nextLine() = 0;
    // Another line (or the end) can be had at once: the writer is not still to be waited for.
    virtual bool lineReady() = 0;
};

// A file or a text: everything is there.
class StreamInput : public BatchInput {
public:
    explicit StreamInput(std::istream& in) : in(in) {}
    std::optional<std::string> nextLine() override;
    bool lineReady() override { return true; }

private:
    std::istream& in;
};

// A descriptor that a program may still be writing to (a pipe, a terminal). While it waits
// for a line it calls whileWaiting every few milliseconds, so that the link is kept (polls
// answered, time-outs not run out); whileWaiting returning false ends the input.
class DescriptorInput : public BatchInput {
public:
    static constexpr int WaitSliceMs = 10;

    explicit DescriptorInput(int fd, std::function<bool()> whileWaiting = {})
        : fd(fd), whileWaiting(std::move(whileWaiting)) {}
    std::optional<std::string> nextLine() override;
    bool lineReady() override;

private:
    // Reads what there is; false at the end or on an error.
    bool fill(bool wait);

    int fd;
    std::function<bool()> whileWaiting;
    std::string buffer;
    bool ended = false;
};

} // namespace m7410
