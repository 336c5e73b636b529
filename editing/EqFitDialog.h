// "Fit to measurement...": the preview of a channel's six bands fitted to a measurement.
#pragma once

#include "eqtext/Measurement.h"
#include "fit/EqFit.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace m7410 {

class ResponseGraph;

// The measurement (and optionally a target), the range and the limits; the six proposed bands,
// the RMS error before, with fit-then-round and with the table search; the channel's graph with
// the measurement and the target level-aligned to its 0 dB line and the predicted result
// (measurement + proposed bands). "Fit" fits again with the options shown; "Apply" accepts,
// "Cancel" rejects; the dialog itself changes nothing.
class EqFitDialog : public QDialog {
    Q_OBJECT
public:
    struct Inputs {
        Response measured;
        QString measurementName;
        ChannelBands current{}; // the channel's bands now (what a fit leaves of them)
        QString channelName;
    };
    // Asks for a target file: its response and its name, or nothing (cancelled, or refused with
    // a message already shown).
    using ChooseTarget = std::function<std::optional<std::pair<Response, QString>>()>;

    EqFitDialog(Inputs inputs, const ResponseGraph& graph, ChooseTarget chooseTarget,
                QWidget* parent = nullptr);

    // Fits with the options shown and redraws.
    void refit();
    void setTarget(const Response& target, const QString& name);

    const EqFit& fit() const { return result; }
    FitOptions options() const;
    QDoubleSpinBox* fromField() const { return from; }
    QDoubleSpinBox* toField() const { return to; }
    QDoubleSpinBox* maxBoostField() const { return maxBoost; }
    QCheckBox* cutOnlyBox() const { return cutOnly; }
    QPushButton* targetButton() const { return targetChoice; }
    QPushButton* fitButton() const { return fitAgain; }
    QTableWidget* table() const { return bands; }
    QLabel* figuresLabel() const { return figures; }
    const QImage& picture() const { return image; }
    QPushButton* applyButton() const { return apply; }
    QPushButton* cancelButton() const { return cancel; }

    static constexpr QRgb MeasurementColour = qRgb(255, 255, 255);
    static constexpr QRgb TargetColour = qRgb(255, 255, 0);
    static constexpr QRgb PredictedColour = qRgb(255, 0, 0);

private:
    void fillTable();
    void drawCurves();

    Inputs in;
    Response target;
    const ResponseGraph& graph;
    ChooseTarget chooseTarget;
    EqFit result;
    QDoubleSpinBox* from = nullptr;
    QDoubleSpinBox* to = nullptr;
    QDoubleSpinBox* maxBoost = nullptr;
    QCheckBox* cutOnly = nullptr;
    QPushButton* targetChoice = nullptr;
    QLabel* targetName = nullptr;
    QPushButton* fitAgain = nullptr;
    QTableWidget* bands = nullptr;
    QLabel* figures = nullptr;
    QLabel* pictureLabel = nullptr;
    QImage image;
    QPushButton* apply = nullptr;
    QPushButton* cancel = nullptr;
};

} // namespace m7410
