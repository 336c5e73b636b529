#include "app/MemoryMenuDialog.h"

#include "app/NameCharacters.h"
#include "panels/FilteredField.h"
#include "panels/PanelColours.h"

#include <QLabel>
#include <QPushButton>

namespace m7410 {

MemoryMenuDialog::MemoryMenuDialog(QWidget* parent)
    : QDialog(parent), name(new FilteredField(nameCharacters(), tr("name"), this)) {
    setWindowTitle(QStringLiteral("Memory Menu"));
    // Its controls have fixed places, drawn for this font.
    setFont(designFont());
    setModal(true);
    auto* label = new QLabel(QStringLiteral("name:"), this);
    label->move(14, 20);
    name->setGeometry(60, 16, 170, 23);
    name->setMaxLength(16);
    restrictToNameCharacters(name);
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setGeometry(60, 54, 80, 26);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(150, 54, 80, 26);
    setFixedSize(250, 94);
    connect(save, &QPushButton::clicked, this, &MemoryMenuDialog::saveClicked);
    connect(name, &FilteredField::enterPressed, this, &MemoryMenuDialog::saveClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void MemoryMenuDialog::saveClicked() {
    const QString typed = name->text();
    name->clear();
    accept();
    emit saveRequested(typed);
}

} // namespace m7410
