#include "settings/PersonalSettingsBox.h"

#include "panels/ColourButton.h"
#include "panels/PanelColours.h"
#include "panels/UserDialogs.h"
#include "settings/LogoFile.h"
#include "settings/SettingsFile.h"
#include "support/AtomicFile.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace m7410 {

namespace {

constexpr int LogoWidth = 545;
constexpr int LogoHeight = 200;

// The limit holds for typing only: a longer value from the settings file is shown whole and
// saved back whole (a maximum length would cut it on loading).
QLineEdit* field(QWidget* parent, const QString& accessibleName, int maxLength, QRect geometry) {
    auto* f = new QLineEdit(parent);
    f->setAccessibleName(accessibleName);
    f->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\r\\n]{0,%1}").arg(maxLength)), f));
    f->setGeometry(geometry);
    return f;
}

QLabel* label(QWidget* parent, const QString& text, QPoint at) {
    auto* l = new QLabel(text, parent);
    l->move(at);
    return l;
}

} // namespace

PersonalSettingsBox::PersonalSettingsBox(SettingsFile& settings, QString logoPath,
                                         UserDialogs& dialogs, QWidget* parent)
    : PageFrame(tr("Personal settings"), parent), settings(settings), logoPath(std::move(logoPath)),
      dialogs(dialogs) {
    setTitle(QStringLiteral("The interface style  modify"));
    buildFields();
    buildLogoArea();
    resize(728, 470);
    connect(this, &PageFrame::closeClicked, this, &QWidget::hide);
}

void PersonalSettingsBox::buildFields() {
    label(this, tr("Name:"), {12, 33});
    name = field(this, tr("Name"), 30, {92, 30, 300, 21});
    const char* const modeCaptions[3] = {"one input one output", "one input two output",
                                         "one input three output"};
    for (int m = 1; m <= 3; ++m) {
        auto* b = new ColourButton(QString::fromLatin1(modeCaptions[m - 1]), this);
        b->setGeometry(12 + 172 * (m - 1), 60, 164, 25);
        connect(b, &QPushButton::clicked, this, [this, m] { chooseMode(m); });
        modeButtons[m - 1] = b;
    }
    const char* const rowCaptions[4] = {"Input the main channel:", "Output channel one:",
                                        "Output channel two:", "Output channel three:"};
    for (int row = 0; row < 4; ++row) {
        const int y = 96 + 26 * row;
        channelLabels[row] = label(this, QString::fromLatin1(rowCaptions[row]), {12, y + 3});
        QString accessible = channelLabels[row]->text();
        accessible.chop(1);
        channelFields[row] = field(this, accessible, 8, {172, y, 100, 21});
    }
    label(this, QStringLiteral("(Most can only enter 8 letters)"), {284, 99});
    label(this, tr("Version:"), {12, 205});
    version = field(this, tr("Version"), 60, {92, 202, 460, 21});
}

void PersonalSettingsBox::buildLogoArea() {
    label(this, QStringLiteral("Logo modify："), {12, 234});
    logoArea = new QLabel(this);
    logoArea->setGeometry(12, 254, LogoWidth, LogoHeight);
    logoArea->setFrameShape(QFrame::Box);
    logoArea->setAlignment(Qt::AlignCenter);
    logoArea->setAccessibleName(tr("Logo"));
    loadLogo = new QPushButton(tr("load"), this);
    loadLogo->setGeometry(572, 254, 70, 25);
    label(this, QStringLiteral("file type must be .bmp"), {572, 286});
    save = new QPushButton(tr("save"), this);
    save->setGeometry(572, 400, 70, 25);
    cancel = new QPushButton(tr("cancel"), this);
    cancel->setGeometry(648, 400, 70, 25);
    connect(loadLogo, &QPushButton::clicked, this, &PersonalSettingsBox::loadLogoClicked);
    connect(save, &QPushButton::clicked, this, &PersonalSettingsBox::saveClicked);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void PersonalSettingsBox::chooseMode(int m) {
    if (m < 1 || m > 3) return;
    mode = m;
    for (int b = 1; b <= 3; ++b)
        modeButtons[b - 1]->setColour(b == m ? ChosenModeColour : IdleColour);
    channelLabels[2]->setVisible(m >= 2);
    channelFields[2]->setVisible(m >= 2);
    channelLabels[3]->setVisible(m == 3);
    channelFields[3]->setVisible(m == 3);
}

void PersonalSettingsBox::load(const PersonalSettings& v) {
    name->setText(v.name);
    mode = v.channelMode;
    chooseMode(v.channelMode);
    channelFields[0]->setText(v.mainChannel);
    channelFields[1]->setText(v.outputOne);
    channelFields[2]->setText(v.outputTwo);
    channelFields[3]->setText(v.outputThree);
    version->setText(v.version);
}

PersonalSettings PersonalSettingsBox::values() const {
    return {name->text(),
            mode,
            channelFields[0]->text(),
            channelFields[1]->text(),
            channelFields[2]->text(),
            channelFields[3]->text(),
            version->text()};
}

void PersonalSettingsBox::setLogo(const QImage& logo) {
    logoImage = logo;
    showLogo();
}

void PersonalSettingsBox::showLogo() {
    if (logoImage.isNull()) {
        logoArea->clear();
        return;
    }
    // Shown to fit the area; the picture itself is kept as loaded and saved that way.
    const QImage shown =
        logoImage.width() > LogoWidth || logoImage.height() > LogoHeight
            ? logoImage.scaled(LogoWidth, LogoHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : logoImage;
    logoArea->setPixmap(QPixmap::fromImage(shown));
}

void PersonalSettingsBox::loadLogoClicked() {
    const QString file = dialogs.openFileName(this, QStringLiteral("图像文件(*.bmp)"));
    if (file.isEmpty()) return;
    QString reason;
    const QImage picture = readLogoFile(file, reason);
    if (picture.isNull()) {
        dialogs.error(this, QStringLiteral("%1: %2").arg(file, reason));
        return;
    }
    setLogo(picture);
}

void PersonalSettingsBox::saveClicked() {
    QString error;
    if (!settings.save(values(), error)) {
        dialogs.error(this, error);
        return;
    }
    // Always written as a bitmap, whatever format was loaded, so the next start can read it.
    if (!logoImage.isNull()) {
        QByteArray bitmap;
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        QString reason = QStringLiteral("cannot be made a bitmap");
        if (!logoImage.save(&buffer, "BMP") || !writeFileAtomically(logoPath, bitmap, reason)) {
            dialogs.error(this, QStringLiteral("%1: %2").arg(logoPath, reason));
            return;
        }
    }
    hide();
    dialogs.message(parentWidget(), QStringLiteral("Successfully saved."));
}

} // namespace m7410
