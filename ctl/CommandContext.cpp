#include "ctl/CommandContext.h"

#include "ctl/CommandLine.h"
#include "protocol/Session.h"

#include <QJsonDocument>
#include <QString>

namespace m7410 {

namespace {
// Short enough that a reply is taken up within one slice of the engine's own pacing.
constexpr int WaitSliceMs = 10;
} // namespace

bool CommandContext::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    Clock& clock = session().clock;
    const int lost = view.disconnectedShown;
    const int64_t end = clock.nowMs() + timeoutMs;
    while (!done()) {
        if (view.disconnectedShown != lost || clock.nowMs() >= end) return false;
        clock.PumpWait(WaitSliceMs);
    }
    return true;
}

int CommandContext::fail(const std::string& line) {
    view.finishProgress();
    err << "m7410-ctl: " << line << '\n';
    err.flush();
    return ExitFailure;
}

void CommandContext::printJson(const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
    out.flush();
}

std::string consoleText(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()))
        .toUtf8()
        .toStdString();
}

} // namespace m7410
