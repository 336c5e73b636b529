// An owner serving a Unit on the simulated unit (virtual USB, virtual clock) on a real local
// socket in a temporary runtime folder, and clients of it in the same process.
#pragma once

#include "common/TemporaryRuntime.h"
#include "common/UnitRig.h"
#include "share/ProtocolJson.h"
#include "share/UnitClient.h"
#include "share/UnitServer.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace m7410::test {

// Sockets need an event loop's dispatcher, made once for the whole program.
inline QCoreApplication& shareApp() {
    static int argc = 1;
    static char name[] = "test_share";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

class ShareRig : public testing::Test, public UnitRig {
public:
    std::unique_ptr<UnitServer> server;
    TemporaryRuntime runtime;
    QTemporaryDir files;

    void SetUp() override {
        shareApp();
        const UnitResult<UnitStatus> r = connect();
        ASSERT_TRUE(r) << r.error().message;
        server = std::make_unique<UnitServer>(unit, clock);
        QString error;
        ASSERT_TRUE(server->listenForUnit(error)) << error.toStdString();
    }
    void TearDown() override {
        server.reset();
        EXPECT_EQ(sim.malformedFrames(), 0);
    }

    // Socket events and the owner's virtual time, a slice at a time.
    void pump(int ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        clock.PumpWait(ms);
    }
    bool pumpUntil(const std::function<bool()>& reached, int slices = 3000) {
        for (int i = 0; i < slices && !reached(); ++i)
            pump(10);
        return reached();
    }

    std::unique_ptr<UnitClient> client() {
        auto c = std::make_unique<UnitClient>([this](int ms) { pump(ms); });
        QString error;
        EXPECT_TRUE(c->open(server->socketPath(), error)) << error.toStdString();
        return c;
    }
    std::string file(const char* name) const { return files.filePath(name).toStdString(); }
};

// A client that speaks the protocol's lines itself, to send what UnitClient never would.
class RawClient {
public:
    RawClient(ShareRig& rig, const QString& path) : rig(rig) {
        socket.connectToServer(path);
        rig_pump([this] { return !lines.empty(); });
        if (!lines.empty()) hello = take();
    }
    void sendLine(const QByteArray& line) {
        socket.write(line + '\n');
        socket.flush();
    }
    void request(qint64 id, const QString& method, const QJsonObject& params = {}) {
        QJsonObject r{{"v", ProtocolVersion}, {"id", id}, {"method", method}};
        if (!params.isEmpty()) r.insert("params", params);
        sendLine(QJsonDocument(r).toJson(QJsonDocument::Compact));
    }
    // The next line from the owner that is not an event.
    QJsonObject reply() {
        for (;;) {
            rig_pump([this] { return !lines.empty() || socket.state() != QLocalSocket::ConnectedState; });
            if (lines.empty()) return {};
            QJsonObject o = take();
            if (!o.contains("event")) return o;
        }
    }
    QJsonObject call(qint64 id, const QString& method, const QJsonObject& params = {}) {
        request(id, method, params);
        return reply();
    }
    QJsonObject hello;
    QLocalSocket socket;

private:
    void rig_pump(const std::function<bool()>& reached) {
        for (int i = 0; i < 3000 && !reached(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            buffer += socket.readAll();
            qsizetype end;
            while ((end = buffer.indexOf('\n')) >= 0) {
                lines.push_back(buffer.left(end));
                buffer.remove(0, end + 1);
            }
            if (!reached()) rig.clock.PumpWait(10);
        }
    }
    QJsonObject take() {
        const QByteArray line = lines.front();
        lines.erase(lines.begin());
        return QJsonDocument::fromJson(line).object();
    }
    ShareRig& rig;
    QByteArray buffer;
    std::vector<QByteArray> lines;
};

inline QString errorKind(const QJsonObject& reply) {
    return reply.value("error").toObject().value("kind").toString();
}

} // namespace m7410::test
