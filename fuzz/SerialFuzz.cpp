// libFuzzer target: byte batches from the unit over a real serial line (a pseudo-terminal),
// cut and paused as the input says, through the serial transport into the dispatcher; what
// the session sends back goes out over the same line.
#include "Finding.h"
#include "FuzzInput.h"
#include "SessionChecks.h"

#include "link/SerialTransport.h"
#include "protocol/RecordingView.h"
#include "support/VirtualClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace m7410;

namespace {

constexpr int StallMs = 10000;

// Keeps every batch the transport hands over, then gives it to the session of the input
// being run, as the transport would.
struct BatchSink : InboundSink {
    std::string& receiveText() override { return batch; }
    void ProcessReceived() override {
        taken += batch;
        largest = std::max(largest, batch.size() / 2);
        if (session) {
            session->receiveText() += batch;
            batch.clear();
            session->ProcessReceived();
            if (fault.empty()) fault = fuzz::receiveTextFault(*session);
        }
        batch.clear();
    }
    Session* session = nullptr;
    std::string batch;
    std::string taken;
    std::size_t largest = 0;
    std::string fault;
};

// The unit's end of the line is the pseudo-terminal's master; a second handle on the port's
// end shows how many bytes wait there that the transport has not read yet.
struct Line {
    int master = -1;
    int watch = -1;
    QString port;

    Line() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            fuzz::fail("no pseudo-terminal");
        port = QString::fromLocal8Bit(ptsname(master));
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        // Opened before the transport takes the port, which may then lock it.
        watch = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (watch < 0) fuzz::fail("cannot watch the port");
    }
    int waiting() const {
        int n = 0;
        return ioctl(watch, FIONREAD, &n) == 0 ? n : -1;
    }
};

// Runs the event loop until the condition holds; a line that stalls this long is a finding.
void until(const std::function<bool()>& done, const char* what) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (timer.elapsed() > StallMs) fuzz::fail(std::string("the line stalled: ") + what);
    }
}

struct Rig {
    QCoreApplication* app;
    Line line;
    VirtualClock clock;
    BatchSink sink;
    int32_t linkOpen = 0;
    SerialTransport serial{clock, sink, linkOpen};

    explicit Rig(int& argc, char** argv) : app(new QCoreApplication(argc, argv)) {
        serial.choosePort({"pts", line.port, 0});
        if (!serial.OpenSerialPort()) fuzz::fail("cannot open the port");
        serial.StartSerialWaitThread();
    }

    // Writes bytes as the unit would; they have reached the port's end when it returns. Events
    // do not run meanwhile, so the transport cannot take any of them yet.
    void send(const std::vector<uint8_t>& bytes) {
        // Well below what the line holds, so a write never has to wait for a reader.
        if (line.waiting() + bytes.size() > 2048) drain();
        const int before = line.waiting();
        std::size_t done = 0;
        QElapsedTimer timer;
        timer.start();
        while (done < bytes.size()) {
            const ssize_t n = ::write(line.master, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += std::size_t(n);
            if (timer.elapsed() > StallMs) fuzz::fail("the line stalled: writing");
        }
        while (line.waiting() < before + int(bytes.size())) {
            if (timer.elapsed() > StallMs) fuzz::fail("the line stalled: arriving");
            sched_yield();
        }
    }
    // The transport has noticed what came: its batch pause runs, or it took everything. What
    // arrives during the pause waits on the line until the batch takes it.
    void settle() {
        until([&] { return line.waiting() == 0 || serial.isBatchPending(); }, "noticing");
    }
    // Batches are taken until the line is empty.
    void drain() {
        until(
            [&] {
                if (serial.isBatchPending()) clock.advance(SerialTransport::BatchDelayMs);
                return line.waiting() == 0;
            },
            "reading");
    }
    // What the session wrote to the line, as the unit's end sees it; nothing more may come.
    std::vector<uint8_t> readBack(std::size_t expected) {
        std::vector<uint8_t> got;
        const auto take = [&] {
            uint8_t buffer[512];
            for (ssize_t n; (n = ::read(line.master, buffer, sizeof buffer)) > 0;)
                got.insert(got.end(), buffer, buffer + n);
        };
        until(
            [&] {
                take();
                return got.size() >= expected;
            },
            "sending");
        QCoreApplication::processEvents();
        take();
        return got;
    }
};

Rig* rig = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    rig = new Rig(*argc, *argv);
    return 0;
}

// Input: a flags byte (the session's exchange flags, as in receive_fuzz), then pieces: a pause
// byte, a length byte and that many bytes (one to 256). A pause of 128 or more means the piece
// is sent before the port has read the one before it, so both arrive merged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const uint8_t flags = in.byte();
    test::RecordingView view;
    test::FakeLink link{rig->clock};
    Session s{rig->clock, view, link};
    s.linkOpen() = flags & 1;
    s.savingOneToFile() = (flags >> 1) & 1;
    s.savingAllToFile() = (flags >> 2) & 1;
    s.recallPending() = (flags >> 3) & 1;
    s.storeAckPending() = (flags >> 4) & 1;
    view.savePath = std::nullopt;
    // Frames go out over the line, as with no HID unit present.
    link.forward = [](const uint8_t* bytes, std::size_t n) {
        rig->serial.serialSendText.assign(bytes, bytes + n);
        rig->serial.WriteSerial();
    };
    BatchSink& sink = rig->sink;
    sink.session = &s;
    sink.taken.clear();
    sink.largest = 0;
    sink.fault.clear();

    std::string sent;
    while (!in.empty()) {
        const uint8_t pause = in.byte();
        const std::vector<uint8_t> piece = in.take(1 + std::size_t(in.byte()));
        if (piece.empty()) break;
        rig->send(piece);
        sent += toHex(piece);
        if (pause >= 128) continue;
        rig->settle();
        // Under 50 ms the next piece joins the batch; longer, the batch is taken first.
        rig->clock.advance(pause);
        if (!sink.fault.empty()) fuzz::fail(sink.fault);
    }
    rig->settle();
    until(
        [&] {
            rig->clock.advance(SerialTransport::BatchDelayMs);
            QCoreApplication::processEvents();
            return sink.taken.size() >= sent.size();
        },
        "taking");
    if (!sink.fault.empty()) fuzz::fail(sink.fault);
    if (sink.taken != sent) fuzz::fail("the bytes taken differ from the bytes sent");
    if (sink.largest > std::size_t(SerialTransport::MaxBatch))
        fuzz::fail("a batch of " + std::to_string(sink.largest) + " bytes");
    if (!rig->serial.isPortOpen()) fuzz::fail("the port closed");

    rig->clock.advance(3000);
    const std::string fault = fuzz::sessionFault(s, link);
    if (!fault.empty()) fuzz::fail(fault);
    // What went out on the line is what the session sent.
    const std::vector<uint8_t> expected = fuzz::sentBytes(link);
    if (rig->readBack(expected.size()) != expected) fuzz::fail("the line carried other bytes");
    sink.session = nullptr;
    return 0;
}
