#include "app/TopGroup.h"

#include "app/NameCharacters.h"
#include "panels/FilteredField.h"
#include "protocol/Frame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m7410 {

namespace {

QLabel* label(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    return l;
}

} // namespace

TopGroup::TopGroup(QWidget* parent) : QGroupBox(parent) {
    setAccessibleName(tr("Connection and presets"));
    setFlat(true);
    resize(Width, Height);
    buildConnectionBox();
    buildPresetBox();
    buildCurrentPresetBox();
}

void TopGroup::buildConnectionBox() {
    auto* box = new QGroupBox(tr("Connection"), this);
    box->setGeometry(0, 0, 120, Height);
    // The caption names the state the link is in, not the action.
    connectionButton = new QPushButton(box);
    connectionButton->setGeometry(8, 22, 104, 28);
    connectionButton->setAccessibleName(tr("Connection"));
    setConnectCaption(QStringLiteral("Disconnect"));
    indicator = new QLabel(box);
    indicator->setGeometry(44, 56, 32, 32);
    indicator->setAlignment(Qt::AlignCenter);
    indicator->setAccessibleName(tr("Link indicator"));
}

void TopGroup::buildPresetBox() {
    auto* box = new QGroupBox(tr("Preset"), this);
    box->setGeometry(124, 0, 290, Height);
    label(box, QStringLiteral("Load:"), 8, 28);
    load = new QComboBox(box);
    load->setGeometry(46, 24, 168, 24);
    load->setAccessibleName(tr("Load preset"));
    recall = new QPushButton(QStringLiteral("load"), box);
    recall->setGeometry(220, 23, 62, 26);
    label(box, QStringLiteral("Save:"), 8, 62);
    save = new QComboBox(box);
    save->setGeometry(46, 58, 64, 24);
    save->setAccessibleName(tr("Save preset slot"));
    for (int slot = 1; slot <= PresetSlots; ++slot)
        save->addItem(QStringLiteral("Pre%1:").arg(slot));
    name = new FilteredField(nameCharacters(), tr("Preset name to save"), box);
    name->setGeometry(114, 58, 100, 24);
    // Names from the unit are up to 20 bytes and are saved back whole; only typing stops at 15.
    name->setTypingLimit(15);
    restrictToNameCharacters(name, PresetNameBytes);
    store = new QPushButton(QStringLiteral("save"), box);
    store->setGeometry(220, 57, 62, 26);
}

void TopGroup::buildCurrentPresetBox() {
    auto* box = new QGroupBox(QStringLiteral("Current Preset"), this);
    box->setGeometry(418, 0, 182, Height);
    label(box, QStringLiteral("Pre:"), 8, 24);
    number = new QLabel(QStringLiteral("1"), box);
    number->setGeometry(40, 24, 40, 16);
    // The number is the label's accessible name; the description says what it counts.
    number->setAccessibleDescription(tr("Current preset number"));
    label(box, QStringLiteral("Preset name:"), 8, 44);
    currentName = new QLineEdit(box);
    currentName->setGeometry(8, 62, 166, 24);
    currentName->setReadOnly(true);
    currentName->setAccessibleName(tr("Current preset name"));
}

void TopGroup::setConnectCaption(const QString& caption) {
    connectionButton->setText(caption);
    connectionButton->setAccessibleDescription(caption);
}

void TopGroup::setLoadList(const std::vector<std::string>& entries) {
    load->clear();
    for (const std::string& e : entries)
        load->addItem(QString::fromLatin1(e));
}

void TopGroup::setLoadListEntry(int slot, const std::string& text) {
    if (slot >= 1 && slot <= load->count()) load->setItemText(slot - 1, QString::fromLatin1(text));
}

void TopGroup::selectFirstPreset() {
    load->setCurrentIndex(load->count() > 0 ? 0 : -1);
    save->setCurrentIndex(0);
}

} // namespace m7410
