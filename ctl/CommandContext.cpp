#include "ctl/CommandContext.h"

#include "ctl/CommandLine.h"

#include <QJsonDocument>
#include <QString>

namespace m7410 {

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
