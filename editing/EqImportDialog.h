// The preview box of a filter import: requested against snapped values and responses.
#pragma once

#include "eqtext/FilterImport.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QTableWidget;

namespace m7410 {

class ResponseGraph;

// The preview of a filter import: requested and snapped values side by side, the requested
// response and the unit's on the channel's graph, and the largest difference between them.
// "Apply" accepts, "Cancel" rejects; the dialog itself changes nothing.
class EqImportDialog : public QDialog {
    Q_OBJECT
public:
    EqImportDialog(const FilterText& text, const FilterImport& plan, int channel,
                   const QString& channelName, const QString& fileName, const ResponseGraph& graph,
                   QWidget* parent = nullptr);

    QTableWidget* table() const { return values; }
    QLabel* deviationLabel() const { return deviation; }
    QLabel* notesLabel() const { return notes; }
    const QImage& picture() const { return image; }
    QPushButton* applyButton() const { return apply; }
    QPushButton* cancelButton() const { return cancel; }

    static constexpr QRgb RequestedColour = qRgb(255, 255, 255);
    static constexpr QRgb UnitColour = qRgb(255, 0, 0);

private:
    void fillTable(const FilterImport& plan);
    // The grid of the graph with both curves, crossovers of the channel included in each.
    void drawCurves(const FilterImport& plan, int channel, const ResponseGraph& graph);

    QTableWidget* values = nullptr;
    QLabel* deviation = nullptr;
    QLabel* notes = nullptr;
    QImage image;
    QPushButton* apply = nullptr;
    QPushButton* cancel = nullptr;
};

} // namespace m7410
