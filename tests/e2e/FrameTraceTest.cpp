// Every frame of a whole session on a serial line, with the virtual millisecond it left at,
// against a recorded trace: a change inside the engine that moves a frame or a byte shows here.
// M7410_RECORD_TRACE=1 writes the trace anew (only after a change meant to alter the traffic).
#include "PresetRigs.h"

#include "model/EqBand.h"

#include <QFile>

#include <cstdlib>
#include <sstream>

namespace m7410::test {
namespace {

const char* const TracePath = M7410_TRACE_DIR "/serial-session.txt";

std::string traceOf(const FakeLink& link) {
    std::ostringstream out;
    for (const FakeLink::Sent& s : link.sent)
        out << s.atMs << ' ' << s.hex << '\n';
    return out.str();
}

TEST_F(SerialPresets, TheWholeSessionSendsTheRecordedFrames) {
    // Start-up: current block, names, system record, then polling.
    connect();
    // An edit burst: three parameters of two groups within one tick.
    s.model().band(bandAddress(0, 1)).setGainInForce(40);
    s.builders().QueueEqBandMessage(bandAddress(0, 1));
    s.model().band(bandAddress(0, 2)).setGainInForce(50);
    s.builders().QueueEqBandMessage(bandAddress(0, 2));
    s.builders().QueueCrossoverMessage(1);
    clock.advance(2000);
    // Recall and store.
    presets.loadClicked(4);
    clock.advance(3000);
    presets.saveClicked(6, "Trace");
    clock.advance(2000);
    // One-group save and load.
    view.savePath = dir.filePath("one").toStdString();
    files.saveOneGroupToPc();
    clock.advance(1500);
    view.openPath = view.savePath;
    files.loadOneGroupToDevice();
    clock.advance(1500);
    // The 20 presets read, then written.
    view.savePath = dir.filePath("twenty").toStdString();
    files.saveTwentyGroupsToPc();
    clock.advance(20000);
    view.openPath = view.savePath;
    files.loadTwentyGroupsToDevice();
    clock.advance(25000);
    // "0 dB" on the second channel.
    s.scheduler().beginBandProgress(1);
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        s.model().band(bandAddress(1, row)).setGainInForce(EqGainZeroIndex);
        s.builders().QueueEqBandMessage(bandAddress(1, row));
    }
    clock.advance(5000);

    const std::string trace = traceOf(link);
    if (std::getenv("M7410_RECORD_TRACE") != nullptr) {
        QFile out(TracePath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(trace.data(), static_cast<qint64>(trace.size()));
        GTEST_SKIP() << "trace recorded";
    }
    QFile in(TracePath);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << TracePath;
    const std::string recorded = in.readAll().toStdString();
    // Line by line, so that a difference names its frame and time.
    std::istringstream a(recorded), b(trace);
    std::string want, got;
    int line = 0;
    while (true) {
        const bool moreWant = static_cast<bool>(std::getline(a, want));
        const bool moreGot = static_cast<bool>(std::getline(b, got));
        ++line;
        if (!moreWant && !moreGot) break;
        ASSERT_EQ(got, want) << "frame " << line;
    }
}

} // namespace
} // namespace m7410::test
