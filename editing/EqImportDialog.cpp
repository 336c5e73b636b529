#include "editing/EqImportDialog.h"

#include "model/DisplayFormats.h"
#include "model/ValueTables.h"
#include "response/ResponseGraph.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

namespace m7410 {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString withUnit(double v, const char* unit) {
    return text(shortestDecimal(v)) + QLatin1String(unit);
}

} // namespace

EqImportDialog::EqImportDialog(const FilterText& parsed, const FilterImport& plan, int channel,
                               const QString& channelName, const QString& fileName,
                               const ResponseGraph& graph, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Import EQ filters"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("%1 into channel \"%2\": requested values and what the unit will use")
                       .arg(fileName, channelName)));
    values = new QTableWidget(this);
    values->setAccessibleName(tr("Filters"));
    fillTable(plan);
    layout->addWidget(values);

    QStringList lines;
    if (parsed.preamp && *parsed.preamp != 0.0)
        lines << tr("The preamp of %1 dB is not applied: the unit's EQ has no overall gain.")
                     .arg(text(shortestDecimal(*parsed.preamp)));
    for (const SkippedLine& s : parsed.skipped)
        lines << tr("Line %1 skipped (%2): %3").arg(s.line).arg(text(s.reason), text(s.text));
    notes = new QLabel(lines.join(QLatin1Char('\n')), this);
    notes->setWordWrap(true);
    notes->setVisible(!lines.isEmpty());
    layout->addWidget(notes);

    drawCurves(plan, channel, graph);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(image));
    picture->setAccessibleName(tr("Requested and unit response"));
    picture->setAccessibleDescription(
        tr("White: the response the file asks for; red: the response the unit will produce"));
    layout->addWidget(picture);
    deviation = new QLabel(tr("White: requested, red: the unit. Largest difference 20 Hz .. 20 "
                              "kHz: %1")
                               .arg(text(deviationText(plan.deviation))),
                           this);
    layout->addWidget(deviation);

    auto* buttons = new QDialogButtonBox(this);
    apply = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void EqImportDialog::fillTable(const FilterImport& plan) {
    const QStringList headers = {tr("Type"),      tr("Frequency"), tr("Gain"),
                                 tr("Q"),         tr("Unit type"), tr("Unit frequency"),
                                 tr("Unit gain"), tr("Unit Q")};
    values->setColumnCount(static_cast<int>(headers.size()));
    values->setHorizontalHeaderLabels(headers);
    values->setRowCount(static_cast<int>(plan.requested.size()));
    values->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < values->rowCount(); ++row) {
        const TextFilter& f = plan.requested[row];
        const EqBand& b = plan.bands[row];
        const bool peak = b.type == EqTypePeaking;
        const QString cells[] = {text(f.typeText),
                                 withUnit(f.freq, " Hz"),
                                 withUnit(f.gain, " dB"),
                                 f.kind == TextFilterKind::Peaking ? text(shortestDecimal(*f.q))
                                                                   : QString(),
                                 text(std::string(EqTypeList[b.type])),
                                 text(formatFrequency(b.freq)) + QStringLiteral(" Hz"),
                                 text(formatEqGain(b.gainInForce())) + QStringLiteral(" dB"),
                                 peak ? text(formatQ(b.q)) : QString()};
        for (int col = 0; col < values->columnCount(); ++col)
            values->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    values->resizeColumnsToContents();
    values->verticalHeader()->setDefaultSectionSize(values->fontMetrics().height() + 6);
    values->setMinimumHeight(values->horizontalHeader()->sizeHint().height() +
                             (values->rowCount() + 1) * (values->fontMetrics().height() + 6));
}

void EqImportDialog::drawCurves(const FilterImport& plan, int channel, const ResponseGraph& graph) {
    image = graph.background().convertToFormat(QImage::Format_RGB32);
    const GraphGeometry& g = graph.geometry();
    const ResponseCurves& curves = graph.curves();
    const int first = GraphGeometry::firstColumn;
    std::vector<QPointF> requested, unit;
    for (int x = first; x <= g.lastColumn(); ++x) {
        const int i = x - first;
        const double hz = g.columnFrequency(x);
        const double crossovers = curves.hpfCurve(channel)[i] + curves.lpfCurve(channel)[i];
        requested.emplace_back(x, g.levelToRow(crossovers + requestedLevel(plan.requested, hz)));
        unit.emplace_back(x, g.levelToRow(crossovers + unitLevel(plan.bands, hz)));
    }
    QPainter p(&image);
    for (const auto& [points, colour] :
         {std::pair{&requested, RequestedColour}, std::pair{&unit, UnitColour}}) {
        p.setPen(QColor(colour));
        p.drawPolyline(points->data(), static_cast<int>(points->size()));
    }
}

} // namespace m7410
