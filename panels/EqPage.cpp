#include "panels/EqPage.h"

#include "model/DisplayFormats.h"
#include "model/ValueTables.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "panels/PanelColours.h"
#include "panels/SpinButtons.h"
#include "response/GraphPalette.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include <tuple>
#include <utility>

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

// A numeric field of the given width with its spin buttons just right of it; both carry the
// field's accessible name.
std::pair<FilteredField*, SpinButtons*> spinField(const QString& allowed, const QString& name,
                                                  QWidget* parent, int x, int y, int width) {
    auto* field = new FilteredField(allowed, name, parent);
    field->setGeometry(x, y, width, 21);
    field->setStepKeys(true);
    auto* spin = new SpinButtons(name, parent);
    spin->setGeometry(x + width + 2, y, 17, 21);
    return {field, spin};
}

} // namespace

EqPage::EqPage(PanelContext context, QWidget* parent)
    : PageFrame(tr("HPF/LPF/EQ page"), parent), ctx(context), bands(new QGroupBox(this)),
      crossovers(new QGroupBox(this)), zeroDb(new QPushButton(QStringLiteral("0 dB"), this)),
      fit(new QPushButton(tr("Fit to measurement\u2026"), this)),
      showMeasurement(new QPushButton(tr("Show measurement"), this)),
      graphPicture(new GraphPicture(this)) {
    buildBandBox();
    buildCrossoverBox();
    zeroDb->setGeometry(424, 96, 60, 23);
    zeroDb->setAccessibleName(tr("Set all EQ gains to 0 dB"));
    fit->setGeometry(424, 126, 150, 23);
    showMeasurement->setGeometry(580, 126, 140, 23);
    showMeasurement->setCheckable(true);
    showMeasurement->setAccessibleName(tr("Show the fitted measurement on the graph"));
    graphPicture->move(4, GraphTop);
    setFocusProxy(rows[0].freq);
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
        r.number->setGeometry(32, y + 2, 17, 17);
        r.number->setAlignment(Qt::AlignCenter);
        // Each row's number sits on its band marker's colour, like the marker on the graph.
        const QColor marker(GraphPalette::Markers[n]);
        QPalette pal = r.number->palette();
        pal.setColor(QPalette::Window, marker);
        pal.setColor(QPalette::WindowText, textColourOn(marker));
        r.number->setPalette(pal);
        r.number->setAutoFillBackground(true);
        QFont bold = r.number->font();
        bold.setBold(true);
        r.number->setFont(bold);
        std::tie(r.freq, r.freqSpin) = spinField(Digits, name + tr("frequency"), bands, 76, y, 58);
        std::tie(r.q, r.qSpin) = spinField(Digits, name + tr("Q"), bands, 160, y, 56);
        std::tie(r.gain, r.gainSpin) =
            spinField(SignedDigits, name + tr("gain"), bands, 244, y, 60);
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
    std::tie(c.freq, c.spin) = spinField(Digits, name + tr(" frequency"), crossovers, 44, top, 64);
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
        {
            const QSignalBlocker quiet(r.type);
            r.type->setCurrentIndex(b.type);
        }
        r.gain->setText(text(formatEqGain(b.gainInForce())));
        showQ(n, b);
    }
}

void EqPage::showQ(int n, const EqBand& b) {
    const EqRowControls& r = rows.at(n);
    const bool shelf = b.type != EqTypePeaking;
    if (shelf)
        r.q->clear();
    else
        r.q->setText(text(formatQ(b.q)));
    r.q->setEnabled(!shelf);
    r.qSpin->setEnabled(!shelf);
}

} // namespace m7410
