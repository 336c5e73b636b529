// libFuzzer target: any file chosen for "load one group to DV" or "load 20-group to DV", with
// the simulated unit at the other end of the line.
#include "Finding.h"
#include "FuzzInput.h"
#include "SessionChecks.h"
#include "TempFolder.h"

#include "e2e/SerialRig.h"
#include "presets/PresetFiles.h"
#include "protocol/ParameterBlock.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace m7410;

namespace {

std::string filePath;

// The lines of a file as the file box must see them: CR, LF and CR LF each end a line, and a
// last line without an end still counts.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

// The 320 data bytes of a record, limited to what the window can show: what the unit must get.
std::optional<BlockData> recordData(const std::string& line) {
    if (line.size() != BlockTextLength) return std::nullopt;
    for (char c : line)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    BlockData block{};
    for (std::size_t i = 0; i < BlockSize; ++i)
        block[i] = static_cast<uint8_t>(std::stoi(line.substr(20 + 2 * i, 2), nullptr, 16));
    limitBlock(block);
    return block;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    const std::string dir = fuzz::makeTempFolder("preset_file_fuzz");
    if (dir.empty()) fuzz::fail("no temporary folder");
    filePath = dir + "/M_7410";
    return 0;
}

// Input: a byte whose lowest bit chooses the 20-group file, then the file's contents.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const bool twenty = in.byte() & 1;
    const std::vector<uint8_t> bytes = in.rest();
    const std::string text(bytes.begin(), bytes.end());
    FILE* f = std::fopen(filePath.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0)
        fuzz::fail("cannot write the file");

    test::SerialRig rig;
    PresetFiles files{rig.s};
    rig.connect();
    const sim::SimUnit& unit = rig.unit;
    const BlockData currentBefore = unit.currentSet();
    std::array<BlockData, PresetSlotCount> presetsBefore;
    for (int n = 1; n <= PresetSlotCount; ++n)
        presetsBefore[n - 1] = unit.preset(n);
    rig.view.openPath = filePath;

    const std::vector<std::string> lines = linesOf(text);
    std::vector<BlockData> records;
    for (const std::string& line : lines)
        if (const auto record = recordData(line)) records.push_back(*record);
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    bool accepted = false;
    if (twenty) {
        accepted = lines.size() == PresetSlotCount && records.size() == PresetSlotCount;
        files.loadTwentyGroupsToDevice();
        rig.clock.advance(25000);
    } else {
        const std::optional<BlockData> record = recordData(joined);
        accepted = record.has_value();
        records.assign(1, record.value_or(BlockData{}));
        files.loadOneGroupToDevice();
        rig.clock.advance(2000);
    }

    if (unit.malformedFrames() != 0) fuzz::fail("the unit got a malformed frame");
    if (rig.view.disabled != 0 || rig.view.progressShown) fuzz::fail("the window stayed locked");
    if (!rig.s.statusPoll().isActive()) fuzz::fail("polling did not restart");
    const bool quiet = twenty ? lines.empty() : joined.empty();
    const std::vector<std::string> damaged{"File damaged."};
    if (!accepted && rig.view.messages != (quiet ? std::vector<std::string>{} : damaged))
        fuzz::fail("a refused file was not reported as damaged");
    if (accepted && !rig.view.messages.empty())
        fuzz::fail("a good file was refused: " + rig.view.messages.front());
    const int blockWrites = unit.framesReceived(KindWrite, CodeCurrentBlock) +
                            unit.framesReceived(KindWrite, CodePresetBlock);
    if (!accepted && blockWrites != 0) fuzz::fail("a refused file was sent");

    if (twenty) {
        // Line n goes to slot n, whatever its header says; the set in force stays.
        for (int n = 1; n <= PresetSlotCount; ++n)
            if (unit.preset(n) != (accepted ? records[n - 1] : presetsBefore[n - 1]))
                fuzz::fail("preset slot " + std::to_string(n) + " holds other bytes");
        if (unit.currentSet() != currentBefore) fuzz::fail("the set in force changed");
    } else {
        if (unit.currentSet() != (accepted ? records[0] : currentBefore))
            fuzz::fail("the set in force holds other bytes");
        for (int n = 1; n <= PresetSlotCount; ++n)
            if (unit.preset(n) != presetsBefore[n - 1]) fuzz::fail("a preset slot changed");
        // The window shows what the unit holds.
        if (accepted && !rig.unitMatchesModel()) fuzz::fail("the window differs from the unit");
    }
    const std::string fault = fuzz::sessionFault(rig.s, rig.link);
    if (!fault.empty()) fuzz::fail(fault);
    return 0;
}
