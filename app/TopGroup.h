// The band across the top of the window: connection box, link indicator, preset area and current
// preset.
#pragma once

#include <QGroupBox>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace m7410 {

class FilteredField;

// The band across the top of the window: the connection box with the connection button and
// the link indicator, the preset area ("Load:", "Save:", name field) and the "Current Preset"
// box.
class TopGroup : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int Width = 600;
    static constexpr int Height = 94;
    static constexpr int PresetSlots = 20;

    explicit TopGroup(QWidget* parent = nullptr);

    QPushButton* connectButton() const { return connectionButton; }
    QLabel* linkIndicator() const { return indicator; }
    QComboBox* loadList() const { return load; }
    QPushButton* loadButton() const { return recall; }
    QComboBox* saveList() const { return save; }
    FilteredField* nameField() const { return name; }
    QPushButton* saveButton() const { return store; }
    QLabel* presetNumber() const { return number; }
    QLineEdit* presetNameField() const { return currentName; }

    // The caption names the link's state; screen readers get it as the button's description.
    void setConnectCaption(const QString& caption);
    // The "Load:" list: one entry per preset slot, as the unit names them.
    void setLoadList(const std::vector<std::string>& entries);
    // Slot 1..20; a slot the list does not hold is ignored.
    void setLoadListEntry(int slot, const std::string& text);
    // Both lists back on their first slot.
    void selectFirstPreset();

private:
    void buildConnectionBox();
    void buildPresetBox();
    void buildCurrentPresetBox();

    QPushButton* connectionButton = nullptr;
    QLabel* indicator = nullptr;
    QComboBox* load = nullptr;
    QPushButton* recall = nullptr;
    QComboBox* save = nullptr;
    FilteredField* name = nullptr;
    QPushButton* store = nullptr;
    QLabel* number = nullptr;
    QLineEdit* currentName = nullptr;
};

} // namespace m7410
