#include "editing/EqFitDialog.h"

#include "eqtext/ResponseComparison.h"
#include "fit/FitReport.h"
#include "model/DisplayFormats.h"
#include "model/ValueTables.h"
#include "response/ResponseGraph.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

namespace m7410 {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QDoubleSpinBox* spinBox(double lo, double hi, double value, int decimals, const QString& suffix,
                        const QString& name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(lo, hi);
    box->setDecimals(decimals);
    box->setValue(value);
    box->setSuffix(suffix);
    box->setAccessibleName(name);
    return box;
}

// The mean over the fit range of a level along the measurement's points, for drawing each
// curve around the graph's 0 dB line.
template <typename Level>
double meanInRange(const Response& measured, const FitOptions& o, Level level) {
    double sum = 0.0;
    int n = 0;
    for (const ResponsePoint& p : measured.points) {
        if (p.hz < o.fromHz || p.hz > o.toHz) continue;
        sum += level(p);
        ++n;
    }
    return n > 0 ? sum / n : 0.0;
}

} // namespace

EqFitDialog::EqFitDialog(Inputs inputs, const ResponseGraph& g, ChooseTarget choose,
                         QWidget* parent)
    : QDialog(parent), in(std::move(inputs)), graph(g), chooseTarget(std::move(choose)) {
    setWindowTitle(tr("Fit to measurement"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 EQ fitted to %2 on the unit's own tables")
                                     .arg(in.channelName, in.measurementName)));

    auto* form = new QFormLayout;
    auto* range = new QHBoxLayout;
    from = spinBox(1, 48000, 20, 1, tr(" Hz"), tr("Fit from"), this);
    to = spinBox(1, 48000, 20000, 1, tr(" Hz"), tr("Fit to"), this);
    range->addWidget(from);
    range->addWidget(new QLabel(tr("to")));
    range->addWidget(to);
    form->addRow(tr("Range"), range);
    auto* limits = new QHBoxLayout;
    maxBoost = spinBox(0, LargestMaxBoostDb, 6, 1, tr(" dB"), tr("Largest boost"), this);
    cutOnly = new QCheckBox(tr("Cut only"), this);
    limits->addWidget(maxBoost);
    limits->addWidget(cutOnly);
    form->addRow(tr("Largest boost per band"), limits);
    auto* targetRow = new QHBoxLayout;
    targetChoice = new QPushButton(tr("Target\u2026"), this);
    targetName = new QLabel(tr("flat"), this);
    targetRow->addWidget(targetChoice);
    targetRow->addWidget(targetName, 1);
    form->addRow(tr("Target"), targetRow);
    layout->addLayout(form);
    fitAgain = new QPushButton(tr("Fit"), this);
    layout->addWidget(fitAgain, 0, Qt::AlignLeft);

    bands = new QTableWidget(this);
    bands->setAccessibleName(tr("Proposed bands"));
    layout->addWidget(bands);
    figures = new QLabel(this);
    figures->setWordWrap(true);
    layout->addWidget(figures);
    pictureLabel = new QLabel(this);
    pictureLabel->setAccessibleName(tr("Measurement, target and predicted response"));
    pictureLabel->setAccessibleDescription(
        tr("White: the measurement; yellow: the target; red: the measurement with the proposed "
           "bands"));
    layout->addWidget(pictureLabel);
    layout->addWidget(new QLabel(
        tr("White: measurement, yellow: target, red: measurement with the proposed bands.")));

    auto* buttons = new QDialogButtonBox(this);
    apply = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(fitAgain, &QPushButton::clicked, this, &EqFitDialog::refit);
    connect(targetChoice, &QPushButton::clicked, this, [this] {
        if (!chooseTarget) return;
        if (const auto chosen = chooseTarget()) setTarget(chosen->first, chosen->second);
    });
    refit();
}

FitOptions EqFitDialog::options() const {
    FitOptions o;
    o.fromHz = from->value();
    o.toHz = to->value();
    o.maxBoostDb = maxBoost->value();
    o.cutOnly = cutOnly->isChecked();
    return o;
}

void EqFitDialog::setTarget(const Response& t, const QString& name) {
    target = t;
    targetName->setText(name);
    refit();
}

void EqFitDialog::refit() {
    result = fitChannel(in.measured, target, in.current, options());
    apply->setEnabled(result.error.empty());
    if (!result.error.empty()) {
        figures->setText(text(result.error));
    } else {
        figures->setText(
            tr("RMS error %1 .. %2 Hz: %3 before, %4 with fit then round, %5 with the table "
               "search; largest error %6 at %7 Hz")
                .arg(text(shortestDecimal(from->value())), text(shortestDecimal(to->value())),
                     text(figureText(result.before.rms)), text(figureText(result.fitThenRound.rms)),
                     text(figureText(result.after.rms)), text(figureText(result.after.maxError)),
                     text(shortestDecimal(std::round(result.after.maxErrorHz * 10) / 10))));
    }
    fillTable();
    drawCurves();
}

void EqFitDialog::fillTable() {
    const QStringList headers = {tr("Band"), tr("Type"), tr("Frequency"), tr("Gain"), tr("Q")};
    bands->setColumnCount(static_cast<int>(headers.size()));
    bands->setHorizontalHeaderLabels(headers);
    bands->verticalHeader()->hide();
    bands->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const bool ok = result.error.empty();
    bands->setRowCount(ok ? EqRowsPerChannel : 0);
    for (int row = 0; ok && row < EqRowsPerChannel; ++row) {
        const EqBand& b = result.bands[static_cast<std::size_t>(row)];
        const QString cells[] = {QString::number(row + 1),
                                 text(std::string(EqTypeList[std::clamp(b.type, 0, 2)])),
                                 text(formatFrequency(b.freq)) + QStringLiteral(" Hz"),
                                 text(formatEqGain(b.gainInForce())) + QStringLiteral(" dB"),
                                 b.type == EqTypePeaking ? text(formatQ(b.q)) : QString()};
        for (int col = 0; col < bands->columnCount(); ++col)
            bands->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    bands->resizeColumnsToContents();
    bands->verticalHeader()->setDefaultSectionSize(bands->fontMetrics().height() + 6);
    bands->setMinimumHeight(bands->horizontalHeader()->sizeHint().height() +
                            (EqRowsPerChannel + 1) * (bands->fontMetrics().height() + 6));
}

void EqFitDialog::drawCurves() {
    image = graph.background().convertToFormat(QImage::Format_RGB32);
    const FitOptions o = options();
    const bool fitted = result.error.empty();
    const ChannelBands& proposed = fitted ? result.bands : in.current;
    // Each curve around 0 dB over the fit range, as the error measure moves the target.
    const double measuredMean =
        meanInRange(in.measured, o, [](const ResponsePoint& p) { return p.db; });
    const double targetMean =
        meanInRange(in.measured, o, [&](const ResponsePoint& p) { return levelAt(target.points, p.hz); });
    const double predictedMean = meanInRange(
        in.measured, o, [&](const ResponsePoint& p) { return p.db + unitLevel(proposed, p.hz); });
    const GraphGeometry& g = graph.geometry();
    std::vector<QPointF> measured, targetCurve, predicted;
    const double lowest = in.measured.points.empty() ? 0.0 : in.measured.points.front().hz;
    const double highest = in.measured.points.empty() ? 0.0 : in.measured.points.back().hz;
    for (int x = GraphGeometry::firstColumn; x <= g.lastColumn(); ++x) {
        const double hz = g.columnFrequency(x);
        targetCurve.emplace_back(x, g.levelToRow(levelAt(target.points, hz) - targetMean));
        if (hz < lowest || hz > highest) continue;
        const double m = levelAt(in.measured.points, hz);
        measured.emplace_back(x, g.levelToRow(m - measuredMean));
        if (fitted) predicted.emplace_back(x, g.levelToRow(m + unitLevel(proposed, hz) - predictedMean));
    }
    QPainter p(&image);
    for (const auto& [points, colour] :
         {std::pair{&targetCurve, TargetColour}, std::pair{&measured, MeasurementColour},
          std::pair{&predicted, PredictedColour}}) {
        if (points->empty()) continue;
        p.setPen(QColor(colour));
        p.drawPolyline(points->data(), static_cast<int>(points->size()));
    }
    p.end();
    pictureLabel->setPixmap(QPixmap::fromImage(image));
}

} // namespace m7410
