// Wiring of the preset area, the "Memory Menu" and the file box to the unit's preset
// operations.
#pragma once

#include "presets/DevicePresets.h"
#include "presets/PresetFiles.h"
#include "unit/UnitResult.h"

#include <QObject>

namespace m7410 {

class FileBox;
class FilteredField;
class MemoryMenuDialog;
class Session;
class SessionView;
class TopGroup;
class Unit;
struct EditState;

// Connects the preset area, the "Memory Menu" and the PC file box to the preset operations.
// Recall, one-group load and the 20-preset backup and restore go through the unit, which
// shows their outcome through the window's view; the presses the unit cannot take as the
// window has them (a store of any name, a one-group save that gives the window back before
// the set arrives) still go to the engine's own handlers.
class PresetControls : public QObject {
    Q_OBJECT
public:
    // dialogs: the window, whose file dialogs answer the unit's path questions.
    PresetControls(Session& session, Unit& unit, SessionView& dialogs, EditState& edit,
                   TopGroup& top, FileBox& files, MemoryMenuDialog& memory,
                   QObject* parent = nullptr);

    DevicePresets& device() { return devicePresets; }
    PresetFiles& files() { return presetFiles; }

private:
    void saveFromPresetArea();
    void recallFromPresetArea();
    // The unit's operations show their outcome through the view; the result is not needed.
    template <class T> static UnitDone<T> shownByView() {
        return [](UnitResult<T>) {};
    }
    void selectOnEntry(FilteredField* field);

    Unit& unit;
    SessionView& dialogs;
    EditState& edit;
    TopGroup& top;
    DevicePresets devicePresets;
    PresetFiles presetFiles;
};

} // namespace m7410
