// Wiring of the preset area, the "Memory Menu" and the file box to the preset operations of
// presets/.
#pragma once

#include "presets/DevicePresets.h"
#include "presets/PresetFiles.h"

#include <QObject>

namespace m7410 {

class FileBox;
class FilteredField;
class MemoryMenuDialog;
class Session;
class TopGroup;
struct EditState;

// Connects the preset area, the "Memory Menu" and the PC file box to the preset operations.
class PresetControls : public QObject {
    Q_OBJECT
public:
    PresetControls(Session& session, EditState& edit, TopGroup& top, FileBox& files,
                   MemoryMenuDialog& memory, QObject* parent = nullptr);

    DevicePresets& device() { return devicePresets; }
    PresetFiles& files() { return presetFiles; }

private:
    void saveFromPresetArea();
    void selectOnEntry(FilteredField* field);

    EditState& edit;
    TopGroup& top;
    DevicePresets devicePresets;
    PresetFiles presetFiles;
};

} // namespace m7410
