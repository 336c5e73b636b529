// The "Memory Menu" dialog that asks for a preset name before storing.
#pragma once

#include <QDialog>

namespace m7410 {

class FilteredField;

// "Memory Menu": asks for a preset name; "Save" or Enter hands it on, empties the field and
// closes the dialog.
class MemoryMenuDialog : public QDialog {
    Q_OBJECT
public:
    explicit MemoryMenuDialog(QWidget* parent = nullptr);

    FilteredField* nameField() const { return name; }

signals:
    void saveRequested(const QString& name);

private:
    void saveClicked();

    FilteredField* name;
};

} // namespace m7410
