// A bare event loop with an empty window and only what the unit's pacing needs, as a floor for
// the window's idle CPU (scripts/idle-cpu): the 10 ms scheduler tick, the 500 ms poll, the 1 s
// indicator and the 3 s port refresh, on the same clock as the window. Given a port, the poll
// also does the status exchange through the window's serial transport (the request out, the
// reply read after its pause), so the floor holds all the work the pacing asks for and the
// difference is what the window adds to it.
#include "link/SerialTransport.h"
#include "protocol/Frame.h"
#include "protocol/InboundSink.h"
#include "support/RealClock.h"

#include <QApplication>
#include <QWidget>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Takes the replies and drops them.
class DiscardingSink : public m7410::InboundSink {
public:
    std::string& receiveText() override { return text; }
    void ProcessReceived() override { text.clear(); }

private:
    std::string text;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool connected = argc > 1 && std::strcmp(argv[1], "--connected") == 0;
    const QString port = connected && argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QWidget window;
    window.resize(750, 753);
    window.show();

    m7410::RealClock clock;
    DiscardingSink sink;
    int32_t linkOpen = 0;
    m7410::SerialTransport serial(clock, sink, linkOpen);
    if (!port.isEmpty()) {
        serial.choosePort({port, port, 0});
        if (!serial.OpenSerialPort()) {
            qWarning("cannot open %s", qPrintable(port));
            return 1;
        }
        serial.StartSerialWaitThread();
    }

    int ticks = 0;
    std::vector<std::unique_ptr<m7410::Timer>> timers;
    auto every = [&](int ms, std::function<void()> work = {}) {
        timers.push_back(clock.createTimer(ms, [&ticks, work] {
            ++ticks;
            if (work) work();
        }));
        timers.back()->start();
    };
    every(1000);
    every(3000);
    if (connected) {
        every(10);
        every(500, [&] {
            if (!linkOpen) return;
            serial.serialSendText = m7410::statusRequest(0);
            serial.WriteSerial();
        });
    }
    return QApplication::exec();
}
