#include "presets/PresetFileReader.h"

#include "protocol/ParameterBlock.h"
#include "support/HexText.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

namespace m7410 {

PresetFileRead readPresetFile(const std::string& path, std::vector<std::string>& lines,
                              std::string& error) {
    lines.clear();
    const QString name = QString::fromStdString(path);
    // Opening a pipe waits for a writer that may never come, and a device may never end: only
    // a plain file can be a preset file.
    const QFileInfo info(name);
    if (info.exists() && !info.isFile()) {
        error = "not a regular file";
        return PresetFileRead::Unreadable;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString().toStdString();
        return PresetFileRead::Unreadable;
    }
    // Some files (under /proc) report size 0, so the limit is checked on what was read as well.
    if (file.size() > MaxPresetFileBytes) return PresetFileRead::TooLarge;
    const QByteArray bytes = file.read(MaxPresetFileBytes + 1);
    if (bytes.size() > MaxPresetFileBytes) return PresetFileRead::TooLarge;
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString().toStdString();
        return PresetFileRead::Unreadable;
    }
    lines = splitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return PresetFileRead::Read;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

bool isGroupRecord(std::string_view text) {
    return text.size() == BlockTextLength && isHexText(text);
}

} // namespace m7410
