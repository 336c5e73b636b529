// A unit that another program holds and serves on its socket, with the same operations as a
// Unit of one's own. The owner's model is kept in a copy from its events; an edit made by
// any other program reaches subscribers as a change from outside (ChangeOrigin::Unit).
#pragma once

#include "model/ChannelModel.h"
#include "share/LineReader.h"
#include "unit/UnitAccess.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QLocalSocket;

namespace m7410 {

class SessionView;

class UnitClient : public QObject, public UnitAccess {
    Q_OBJECT
public:
    // Keeps events (and in tests the owner's clock) going for about ms milliseconds.
    using Pump = std::function<void(int ms)>;
    static constexpr int GreetingLimitMs = 2000;

    explicit UnitClient(Pump pump, QObject* parent = nullptr);
    ~UnitClient() override;

    // Connects and waits for the owner's greeting; false with the reason, also when the owner
    // speaks another version of the protocol.
    bool open(const QString& socketPath, QString& error);
    bool isOpen() const;
    // This client's number at the owner, as its events name it, and the owner's process.
    int clientId() const { return ownId; }
    qint64 ownerPid() const { return pid; }
    // Shows the progress of this program's own long exchanges (a console's bar).
    void setProgressView(SessionView* view) { progressView = view; }
    // Who made the last parameter change, as the owner named it: "unit", "owner" or
    // "client N".
    QString lastOrigin() const { return origin; }

    // One request of the protocol; done gets the value or the error.
    void request(const QString& method, const QJsonObject& params,
                 std::function<void(UnitResult<QJsonObject>)> done);

    int subscribe(UnitListener listener) override;
    void unsubscribe(int id) override;
    bool isConnected() const override;
    UnitStatus status() const override { return known; }
    const ChannelModel& model() const override { return copy; }
    std::string serialPort() const override { return {}; }
    int presetsWritten() const override;

    void connect(UnitDone<UnitStatus> done) override;
    // Lets the owner go; its link stays open. The owner's own disconnect is the request
    // "disconnect".
    void disconnect(UnitDone<Done> done) override;
    void readStatus(UnitDone<UnitStatus> done) override;
    void recall(int slot, UnitDone<UnitStatus> done) override;
    void store(int slot, const std::string& name, UnitDone<Done> done) override;
    void saveCurrent(const std::string& path, UnitDone<std::string> done) override;
    void loadCurrent(const std::string& path, UnitDone<std::string> done) override;
    void backup(const std::string& path, UnitDone<std::vector<std::string>> done) override;
    void restore(const std::string& path, bool verify, UnitDone<RestoreReport> done) override;
    void readPresets(UnitDone<std::vector<std::string>> done) override;
    // Sends the owner "cancel"; true once it was sent (the owner's answer is not awaited).
    bool stopRestore() override;
    void setParameter(const ParameterPath& path, int32_t index, UnitDone<Done> done) override;
    void applyEq(int channel, const ChannelBands& bands, UnitDone<Done> done) override;
    void pumpWait(int ms) override;

private:
    void readLines();
    // Takes the lines read; with toFirstResult, up to the first result only (true then).
    bool takeLines(bool toFirstResult);
    // True when the line was the result of a request.
    bool take(const QJsonObject& message);
    void takeEvent(const QJsonObject& event);
    void lost();
    void notify(const std::function<void(UnitListener&)>& call);
    void showProgress(int percent);
    // A request whose value becomes the status it carries.
    void statusRequest(const QString& method, const QJsonObject& params, UnitDone<UnitStatus> done);
    void doneRequest(const QString& method, const QJsonObject& params, UnitDone<Done> done);
    template <class T>
    void ownRequest(const QString& method, const QJsonObject& params, UnitDone<T> done,
                    std::function<T(const QJsonObject&)> value);

    Pump pump;
    QLocalSocket* socket;
    LineReader reader;
    std::map<qint64, std::function<void(UnitResult<QJsonObject>)>> pending;
    qint64 nextRequest = 1;
    std::map<int, UnitListener> listeners;
    int nextListener = 1;
    bool greeted = false;
    int protocol = 0;
    int ownId = 0;
    qint64 pid = 0;
    bool ownerConnected = false;
    UnitStatus known;
    ChannelModel copy;
    SessionView* progressView = nullptr;
    int ownExchanges = 0;
    bool progressShown = false;
    bool restoring = false;
    // Presets of the running or last restore written, as its progress told.
    int written = 0;
    int lastPercent = -1;
    QString origin;
    // A result was taken since the last pumpWait; the lines after it wait.
    bool holding = false;
    bool pumping = false;
};

} // namespace m7410
