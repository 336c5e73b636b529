#include "protocol/PresetFileWriter.h"

#include <QSaveFile>
#include <QString>

namespace m7410 {

bool writePresetFile(const std::string& path, const std::vector<std::string>& lines,
                     std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    for (const std::string& line : lines) {
        file.write(line.data(), static_cast<qint64>(line.size()));
        file.write("\r\n", 2);
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace m7410
