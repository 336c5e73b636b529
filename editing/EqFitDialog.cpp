#include "editing/EqFitDialog.h"

#include "editing/FitCurves.h"
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
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QTableWidget>
#include <QThreadPool>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

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
    auto* keepRow = new QHBoxLayout;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        auto*& box = keep[static_cast<std::size_t>(row)];
        box = new QCheckBox(QString::number(row + 1), this);
        box->setAccessibleName(tr("Keep band %1 as it is").arg(row + 1));
        keepRow->addWidget(box);
    }
    keepRow->addStretch(1);
    form->addRow(tr("Keep bands"), keepRow);
    layout->addLayout(form);
    auto* fitRow = new QHBoxLayout;
    fitAgain = new QPushButton(tr("Fit"), this);
    busyIndicator = new QProgressBar(this);
    busyIndicator->setRange(0, 0);
    busyIndicator->setAccessibleName(tr("Fitting"));
    busyIndicator->hide();
    stopFit = new QPushButton(tr("Stop"), this);
    stopFit->hide();
    fitRow->addWidget(fitAgain);
    fitRow->addWidget(busyIndicator, 1);
    fitRow->addWidget(stopFit);
    layout->addLayout(fitRow);

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
    connect(stopFit, &QPushButton::clicked, this, &EqFitDialog::stop);
    connect(&watcher, &QFutureWatcher<EqFit>::finished, this, &EqFitDialog::finished);
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
    for (int row = 0; row < EqRowsPerChannel; ++row)
        o.keep[static_cast<std::size_t>(row)] = keep[static_cast<std::size_t>(row)]->isChecked();
    return o;
}

EqFitDialog::~EqFitDialog() {
    // The worker holds its own copies and runs to its end; nothing waits for it.
    watcher.disconnect(this);
    watcher.cancel();
}

void EqFitDialog::setTarget(const Response& t, const QString& name) {
    targetResponse = t;
    targetName->setText(name);
    refit();
}

void EqFitDialog::refit() {
    if (closed) return;
    watcher.cancel();
    // The worker gets copies: the dialog may be gone before it ends.
    auto promise = std::make_shared<QPromise<EqFit>>();
    QFuture<EqFit> future = promise->future();
    QThreadPool::globalInstance()->start(
        [promise, measured = in.measured, target = targetResponse, current = in.current,
         o = options()] {
            promise->start();
            if (!promise->isCanceled()) promise->addResult(fitChannel(measured, target, current, o));
            promise->finish();
        });
    watcher.setFuture(future);
    running = true;
    apply->setEnabled(false);
    busyIndicator->show();
    stopFit->show();
    figures->setText(tr("Fitting\u2026"));
}

void EqFitDialog::stop() {
    if (!running) return;
    watcher.cancel();
    watcher.setFuture(QFuture<EqFit>());
    running = false;
    result = EqFit{};
    result.error = tr("Fit stopped; press Fit to fit again").toStdString();
    showResult();
}

void EqFitDialog::done(int r) {
    closed = true;
    stop();
    QDialog::done(r);
}

void EqFitDialog::finished() {
    // A fit that was stopped, replaced or outlived its dialog's closing brings nothing.
    const QFuture<EqFit> future = watcher.future();
    if (closed || !running || future.isCanceled() || future.resultCount() == 0) return;
    running = false;
    result = future.result();
    showResult();
    emit fitted();
}

void EqFitDialog::showResult() {
    busyIndicator->hide();
    stopFit->hide();
    apply->setEnabled(!running && result.error.empty());
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
        const bool kept = keep[static_cast<std::size_t>(row)]->isChecked();
        const QString cells[] = {kept ? tr("%1 (kept)").arg(row + 1) : QString::number(row + 1),
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
    QPainter p(&image);
    drawFitCurves(p, graph.geometry(), in.measured, targetResponse, o.fromHz, o.toHz,
                  fitted ? &result.bands : nullptr,
                  {MeasurementColour, TargetColour, PredictedColour});
    p.end();
    pictureLabel->setPixmap(QPixmap::fromImage(image));
}

} // namespace m7410
