#include "panels/EqPage.h"

#include "model/DisplayFormats.h"
#include "model/ValueTables.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "panels/PanelColours.h"
#include "panels/SpinButtons.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace m7410 {

namespace {

const QString Digits = QStringLiteral("0123456789.");
const QString SignedDigits = QStringLiteral("0123456789.-");

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A label that hides the box frame behind it, like a box title.
QLabel* columnTitle(const QString& caption, int x, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setAutoFillBackground(true);
    l->move(x, 3);
    return l;
}

// A numeric field with its spin buttons just right of it, both named after the value.
void addStepField(FilteredField*& field, SpinButtons*& spin, const QString& allowed,
                  const QString& name, QWidget* parent, QRect geometry) {
    field = new FilteredField(allowed, name, parent);
    field->setGeometry(geometry);
    spin = new SpinButtons(name, parent);
    spin->setGeometry(geometry.right() + 3, geometry.top(), 17, geometry.height());
}

} // namespace

EqPage::EqPage(PanelContext context, QWidget* parent)
    : PageFrame(tr("HPF/LPF/EQ page"), parent), ctx(context), bands(new QGroupBox(this)),
      crossovers(new QGroupBox(this)), zeroDb(new QPushButton(QStringLiteral("0 dB"), this)),
      graphPicture(new GraphPicture(this)) {
    buildBandBox();
    buildCrossoverBox();
    zeroDb->setGeometry(424, 96, 60, 23);
    zeroDb->setAccessibleName(tr("Set all EQ gains to 0 dB"));
    graphPicture->move(4, GraphTop);
    resize(728, GraphTop + GraphPicture::GraphHeight + 4);
}

void EqPage::buildBandBox() {
    bands->setGeometry(4, 4, 412, 162);
    bands->setTitle(tr("EQ"));
    columnTitle(tr("Frequency"), 76, bands);
    columnTitle(tr("Q Value"), 160, bands);
    columnTitle(tr("Gain"), 244, bands);
    columnTitle(tr("Type"), 328, bands);
    for (int n = 0; n < EqRowsPerChannel; ++n) {
        EqRowControls& r = rows[n];
        const int y = 20 + 23 * n;
        const QString name = tr("EQ %1 ").arg(n + 1);
        r.number = new QLabel(QString::number(n + 1), bands);
        r.number->move(36, 23 + 23 * n);
        QPalette pal = r.number->palette();
        pal.setColor(QPalette::WindowText, BandColours[n]);
        r.number->setPalette(pal);
        QFont bold = r.number->font();
        bold.setBold(true);
        r.number->setFont(bold);
        addStepField(r.freq, r.freqSpin, Digits, name + tr("frequency"), bands, {76, y, 58, 21});
        addStepField(r.q, r.qSpin, Digits, name + tr("Q"), bands, {160, y, 56, 21});
        addStepField(r.gain, r.gainSpin, SignedDigits, name + tr("gain"), bands, {244, y, 60, 21});
        r.type = new QComboBox(bands);
        r.type->setGeometry(328, y, 70, 21);
        r.type->setAccessibleName(name + tr("type"));
        for (std::string_view t : EqTypeList)
            r.type->addItem(text(t));
    }
}

CrossoverControls EqPage::buildCrossoverRow(const QString& name, int top) {
    CrossoverControls c;
    auto* label = new QLabel(name, crossovers);
    label->move(10, top + 3);
    addStepField(c.freq, c.spin, Digits, name + tr(" frequency"), crossovers, {44, top, 64, 21});
    c.type = new QComboBox(crossovers);
    c.type->setGeometry(134, top, 110, 21);
    c.type->setAccessibleName(name + tr(" type"));
    return c;
}

void EqPage::buildCrossoverBox() {
    crossovers->setGeometry(420, 4, 254, 84);
    crossovers->setTitle(tr("H/LPF"));
    hpf = buildCrossoverRow(tr("HPF"), 22);
    lpf = buildCrossoverRow(tr("LPF"), 50);
}

void EqPage::fill(int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    const bool main = channel == MainChannelIndex;
    bands->setTitle(main ? tr("Main--EQ") : tr("EQ"));
    crossovers->setTitle(main ? tr("Main--H/LPF") : tr("H/LPF"));
    crossovers->show();
    // Only the first output row offers the 48 dB types.
    const int offered = channel == LimitedGainChannel ? FilterTypeCount : FilterTypesOfferedNarrow;
    const Crossover& x = ctx.model.crossover(channel);
    for (auto [controls, filter] : {std::pair{&hpf, x.hpf}, std::pair{&lpf, x.lpf}}) {
        const QSignalBlocker quiet(controls->type);
        controls->type->clear();
        for (int t = 0; t < offered; ++t)
            controls->type->addItem(text(FilterTypeList[t]));
        controls->type->setCurrentIndex(filter.type >= 0 && filter.type < offered ? filter.type
                                                                                  : -1);
        controls->freq->setText(text(formatFrequency(filter.freq)));
    }
    fillEqFields(channel);
}

void EqPage::fillEqFields(int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    for (int n = 0; n < EqRowsPerChannel; ++n) {
        const EqBand& b = ctx.model.band(bandAddress(channel, n));
        EqRowControls& r = rows[n];
        r.freq->setText(text(formatFrequency(b.freq)));
        r.q->setText(text(formatQ(b.q)));
        {
            const QSignalBlocker quiet(r.type);
            r.type->setCurrentIndex(b.type);
        }
        const bool shelf = b.type != EqTypePeaking;
        r.gain->setText(text(formatEqGain(shelf ? b.shelfGain : b.peakGain)));
        if (shelf) r.q->clear();
        r.q->setEnabled(!shelf);
        r.qSpin->setEnabled(!shelf);
    }
}

} // namespace m7410
