#include "ctl/CommandContext.h"

#include "ctl/CommandLine.h"
#include "ctl/JsonOutput.h"

#include <QString>

namespace m7410 {

int CommandContext::fail(std::string_view kind, const std::string& line, QJsonObject base) {
    view.finishProgress();
    err << "m7410-ctl: " << line << '\n';
    err.flush();
    if (json) {
        const QJsonObject e = errorJson(std::string(kind), line);
        base.insert("error", e["error"]);
        printJson(base);
    }
    return ExitFailure;
}

void CommandContext::printJson(const QJsonObject& object) {
    printJsonLine(out, object);
}

std::string consoleText(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()))
        .toUtf8()
        .toStdString();
}

} // namespace m7410
