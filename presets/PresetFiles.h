#pragma once

#include "protocol/Session.h"

#include "support/Clock.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

enum class FileRefusal;
enum class PresetFileKind;

// The PC file box: copies parameter sets between the unit and preset files. A one-group file
// holds the unit's set in force, a 20-group file its 20 preset slots, each set as one line of
// 664 hex digits (the block frame as the unit sent it). Saving asks the unit and lets the
// dispatcher offer the file; loading checks the whole file before anything is sent, and a
// damaged file changes nothing. Every action does nothing while the link is closed, and a
// link closed during a transfer ends it with the window given back.
class PresetFiles {
public:
    static constexpr int ExchangePauseMs = 50;
    static constexpr int BlockHeaderPauseMs = 100;
    static constexpr int LoadSettleMs = 8000;
    static constexpr int LoadProgressMs = 800;
    static constexpr int LoadProgressTicks = 10;

    explicit PresetFiles(Session& session);
    ~PresetFiles();
    PresetFiles(const PresetFiles&) = delete;
    PresetFiles& operator=(const PresetFiles&) = delete;

    void saveOneGroupToPc();         // "save one group to PC"
    void saveTwentyGroupsToPc();     // "save 20-group to PC"
    void loadOneGroupToDevice();     // "load one group to DV"
    void loadTwentyGroupsToDevice(); // "load 20-group to DV"

    void onLoadProgress(); // one-group load progress

private:
    // The lines of the file the user picks: empty when cancelled; nothing when the action is
    // over already (the link closed meanwhile, or the file could not be read).
    std::optional<std::vector<std::string>> readChosenFile(PresetFileKind kind,
                                                           const ExchangeGuard& exchange);
    void rejectFile(FileRefusal why, const std::string& message);

    Session& s;
    std::unique_ptr<Timer> loadProgress;
    int loadTicks = 0;
    // The one-group load the progress belongs to.
    ExchangeGuard loadExchange;
};

} // namespace m7410
