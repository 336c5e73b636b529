#include "protocol/PresetFileWriter.h"

#include "support/AtomicFile.h"

#include <QByteArray>
#include <QString>

namespace m7410 {

bool writePresetFile(const std::string& path, const std::vector<std::string>& lines,
                     std::string& error) {
    QByteArray bytes;
    for (const std::string& line : lines) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n", 2);
    }
    QString reason;
    if (writeFileAtomically(QString::fromStdString(path), bytes, reason)) return true;
    error = reason.toStdString();
    return false;
}

bool checkPresetFileWritable(const std::string& path, std::string& error) {
    QString reason;
    if (checkWritable(QString::fromStdString(path), reason)) return true;
    error = reason.toStdString();
    return false;
}

} // namespace m7410
