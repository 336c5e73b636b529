// Helpers for the few tests on wall-clock time against a real m7410-sim.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>

#include <functional>

// Helpers for the few tests that run on wall-clock time against a real m7410-sim process.
namespace m7410::test {

inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "m7410-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// Processes events until the condition holds; false when it does not within the time.
inline bool processUntil(const std::function<bool()>& condition, int timeoutMs = 2000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Starts m7410-sim with the arguments and returns the pseudo-terminal path it prints first;
// empty when it cannot start or has no pseudo-terminal (the caller skips then).
inline QString startSimulator(QProcess& sim, const QStringList& arguments = {"--quiet"}) {
    app();
    sim.start(QStringLiteral(M7410_SIM_PATH), arguments);
    if (!sim.waitForStarted(5000)) return {};
    QByteArray firstLine;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!firstLine.contains('\n') && elapsed.elapsed() < 5000) {
        sim.waitForReadyRead(100);
        firstLine += sim.readAllStandardOutput();
    }
    return QString::fromLocal8Bit(firstLine).trimmed();
}

} // namespace m7410::test
