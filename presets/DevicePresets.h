// The unit's preset slots from the window: recall, store under a name, the "Save:" names.
#pragma once

#include "support/Clock.h"

#include <memory>
#include <string>

namespace m7410 {

class Session;

// The preset area of the window: the unit recalls one of its 20 slots ("load") or stores its
// set in force under a slot and a name ("save", and the "Memory Menu"). Both go out directly,
// not through the pending slots. The dispatcher completes them: a recall with the block it
// brings, a store with its acknowledgement; a recall unanswered for 10 s times out.
//
// List indexes are the 0-based entries the user chose (-1: none). Without a chosen slot
// nothing happens, so a store never goes to slot 0 and polling is never left stopped.
class DevicePresets {
public:
    static constexpr int RecallProgressMs = 800;
    static constexpr int RecallProgressTicks = 10;
    static constexpr int RecallPauseMs = 50;
    static constexpr int StorePauseMs = 100;

    explicit DevicePresets(Session& session);
    ~DevicePresets();
    DevicePresets(const DevicePresets&) = delete;
    DevicePresets& operator=(const DevicePresets&) = delete;

    // "load": the unit makes the slot of the "Load:" entry its set in force and sends it.
    void loadClicked(int loadIndex);
    // "save" or Enter in the name field: the unit stores its set in force under the slot of
    // the "Save:" entry with this name (the field's text as typed, up to 20 bytes).
    void saveClicked(int saveIndex, const std::string& name);
    // "Save" or Enter in the "Memory Menu": stores under the "Save:" entry's slot with the
    // name typed into the dialog, which the preset box then shows.
    void memoryMenuSave(int saveIndex, const std::string& name);
    // The "Save:" list's change handler: the slot's last known name into the name field.
    // Works with the link closed too.
    void saveListChanged(int saveIndex);
    // The "Device Memory" button opens the "Memory Menu" only while the link is open.
    bool memoryMenuAvailable() const;

    void Timer3Timer(); // recall progress

private:
    Session& s;
    std::unique_ptr<Timer> Timer3;
    int recallTicks = 0;
};

} // namespace m7410
