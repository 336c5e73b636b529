#include "ctl/PresetFileContents.h"

#include "ctl/StandardStreams.h"
#include "presets/PresetFileReader.h"
#include "protocol/Frame.h"

namespace m7410 {

namespace {

std::optional<BlockData> record(const std::string& text) {
    return isGroupRecord(text) ? blockDataFromText(text) : std::nullopt;
}

} // namespace

std::optional<PresetFileContents> presetFileContents(const std::vector<std::string>& lines,
                                                     std::string& error) {
    PresetFileContents out;
    if (lines.size() == static_cast<std::size_t>(PresetSlotCount)) {
        out.twentyGroups = true;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const std::optional<BlockData> set = record(lines[k]);
            if (!set) {
                error = "damaged (line " + std::to_string(k + 1) + " is no preset record)";
                return std::nullopt;
            }
            out.sets.push_back(*set);
        }
        return out;
    }
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    const std::optional<BlockData> set = record(joined);
    if (!set) {
        error = "damaged (neither one preset record nor 20 lines of them)";
        return std::nullopt;
    }
    out.sets.push_back(*set);
    return out;
}

std::optional<PresetFileContents>
readPresetFileContents(const std::string& file, std::istream& standardInput, std::string& error) {
    std::vector<std::string> lines;
    if (isStandardStream(file)) {
        const std::optional<std::string> text =
            readBounded(standardInput, static_cast<std::size_t>(MaxPresetFileBytes), error);
        if (!text) {
            error = "standard input: " + error;
            return std::nullopt;
        }
        lines = splitLines(*text);
    } else {
        switch (readPresetFile(file, lines, error)) {
        case PresetFileRead::Read:
            break;
        case PresetFileRead::TooLarge:
            error = file + ": damaged (too large for a preset file)";
            return std::nullopt;
        case PresetFileRead::Unreadable:
            error = file + ": " + error;
            return std::nullopt;
        }
    }
    std::optional<PresetFileContents> contents = presetFileContents(lines, error);
    if (!contents) error = (isStandardStream(file) ? "standard input" : file) + ": " + error;
    return contents;
}

} // namespace m7410
