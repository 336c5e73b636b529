#include "unit/WritableCheck.h"

#include "support/AtomicFile.h"

#include <QFileInfo>

namespace m7410 {

std::optional<std::string> unwritableFile(const std::string& path) {
    const QString name = QString::fromStdString(path);
    // A folder is the commonest slip (a path without its file name): say so in those words.
    if (QFileInfo(name).isDir()) return path + ": is a folder";
    QString reason;
    if (checkWritable(name, reason)) return std::nullopt;
    return path + ": " + reason.toStdString();
}

} // namespace m7410
