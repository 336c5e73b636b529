#include "presets/PresetFileReader.h"

#include "protocol/ParameterBlock.h"
#include "support/HexText.h"

#include <QString>

namespace m7410 {

PresetFileRead readPresetFile(const std::string& path, std::vector<std::string>& lines,
                              std::string& error) {
    lines.clear();
    // Opening a pipe waits for a writer that may never come, and a device may never end: only
    // a plain file can be a preset file.
    const PlainFile file = PlainFile::read(QString::fromStdString(path), MaxPresetFileBytes);
    if (file.tooLarge) return PresetFileRead::TooLarge;
    if (file.status != PlainFile::Status::Read) {
        error = file.reason.toStdString();
        return PresetFileRead::Unreadable;
    }
    const QByteArray& bytes = file.bytes;
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
