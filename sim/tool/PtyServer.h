// The pseudo-terminal m7410-sim serves its unit on.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace m7410::sim {

// The master side of a pseudo-terminal, read and written on the Qt event loop. Its slave is
// the "serial port" a client opens.
class PtyServer : public QObject {
    Q_OBJECT
public:
    PtyServer();
    ~PtyServer() override;

    // Opens the pseudo-terminal in raw 9600 8N1; false with errorText() set when it cannot.
    bool open();
    std::string slavePath() const { return slave; }
    std::string errorText() const { return error; }

    void write(const std::vector<uint8_t>& bytes);
    std::function<void(const uint8_t* bytes, std::size_t size)> onRead;

private:
    void readReady();
    void flush();

    int master = -1;
    // Held open so the master never sees a hang-up while no client has the port open.
    int slaveKeeper = -1;
    std::string slave;
    std::string error;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    std::vector<uint8_t> outgoing;
};

} // namespace m7410::sim
