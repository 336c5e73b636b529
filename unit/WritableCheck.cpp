#include "unit/WritableCheck.h"

#include <QDir>
#include <QFileInfo>

namespace m7410 {

std::optional<std::string> unwritableFile(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (info.isDir()) return path + ": is a folder";
    if (info.exists()) {
        // A link is written through to its target, which must be a plain file too.
        if (!QFileInfo(info.canonicalFilePath()).isFile()) return path + ": not a regular file";
        if (!info.isWritable()) return path + ": permission denied";
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists()) return path + ": the folder does not exist";
    if (!folder.isWritable()) return path + ": permission denied (the folder)";
    return std::nullopt;
}

} // namespace m7410
