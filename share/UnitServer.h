// The owner's side of a shared unit: serves one Unit on a local socket to the other programs
// of the same user, one exchange with the unit at a time, and tells subscribers what changes.
#pragma once

#include "share/LineReader.h"
#include "share/PeerUser.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace m7410 {

class Clock;
class Timer;
class Unit;
struct UnitStatus;

// A front end serves its Unit with:
//     UnitServer server(unit, clock);
//     if (!server.listenForUnit(error)) ...  // once the link is open
// The server follows the unit's notifications itself; closing it (or its end) removes the
// socket file.
class UnitServer : public QObject {
    Q_OBJECT
public:
    // Bytes a client may leave unread before it is dropped.
    static constexpr qint64 OutgoingLimitDefault = 1 << 20;
    // Requests of one client waiting for their turn at the unit.
    static constexpr std::size_t WaitingLimit = 64;

    UnitServer(Unit& unit, Clock& clock, QObject* parent = nullptr);
    ~UnitServer() override;

    // Serves at the path: a stale socket file there is replaced; false with the reason when an
    // owner serves there already or the path holds another kind of file.
    bool listen(const QString& path, QString& error);
    // Serves in the runtime folder under the name of the device the unit's link is open on.
    bool listenForUnit(QString& error);
    void close();
    bool isListening() const;
    QString socketPath() const;

    int clientCount() const { return static_cast<int>(clients.size()); }
    // The client whose request the unit is starting now, 0 when none: a front end's own
    // listener tells by it that an edit it is told of came from another program (the Unit
    // reports every edit made through it as this program's).
    int requestingClient() const { return requester; }
    void setOutgoingLimit(qint64 bytes) { outgoingLimit = bytes; }
    // How a new connection's user is told (the system's record of the peer by default).
    void setPeerUserLookup(PeerUserLookup lookup) { peerUser = std::move(lookup); }

private:
    struct Client {
        int id = 0;
        QLocalSocket* socket = nullptr;
        LineReader reader{0};
        bool subscribed = false;
        std::size_t waiting = 0;
    };
    struct Job {
        int client = 0;
        QJsonValue id;
        std::function<void()> start;
    };

    void accept();
    void readFrom(int clientId);
    void handle(Client& client, const QByteArray& line);
    void drop(int clientId);
    void send(int clientId, const QJsonObject& message);
    void reply(int clientId, const QJsonValue& id, const QJsonObject& result);
    void replyError(int clientId, const QJsonValue& id, const QString& kind, const QString& text);
    void broadcast(const QJsonObject& event);
    void runNext();
    void scheduleNext(int ms);
    void listenToUnit();

    Unit& unit;
    QLocalServer* server = nullptr;
    std::map<int, std::unique_ptr<Client>> clients;
    int nextClient = 1;
    std::deque<Job> jobs;
    bool running = false;
    // The client whose request is being started, so that its edits name it.
    int requester = 0;
    // The client whose request holds the unit now, which alone may cancel it.
    int runningClient = 0;
    std::unique_ptr<Timer> nextTimer;
    int listener = 0;
    qint64 outgoingLimit = OutgoingLimitDefault;
    PeerUserLookup peerUser = peerUserOf;
    // Replies of exchanges still running when the server goes find it gone.
    std::shared_ptr<int> life;
};

} // namespace m7410
