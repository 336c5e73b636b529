// "Fit to measurement...": the preview of a channel's six bands fitted to a measurement.
#pragma once

#include "eqtext/Measurement.h"
#include "fit/EqFit.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QImage>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace m7410 {

class ResponseGraph;

// The measurement (and optionally a target), the range and the limits; the six proposed bands,
// the RMS error before, with fit-then-round and with the table search; the channel's graph with
// the measurement and the target level-aligned to its 0 dB line and the predicted result
// (measurement + proposed bands). Bands marked "keep" stay as they are and the fit works
// around them. The fit runs on a worker thread: while it runs the dialog says so, offers "Stop"
// and Apply is off; stopping, fitting again or closing drops the running fit's result.
// "Apply" accepts, "Cancel" rejects; the dialog itself changes nothing.
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

    ~EqFitDialog() override;

    // Starts a fit with the options shown; the table, figures and picture follow when it ends.
    void refit();
    // Drops the running fit's result.
    void stop();
    void setTarget(const Response& target, const QString& name);
    void done(int r) override;

    // True while a fit runs; fit() is then the last finished one (or empty).
    bool busy() const { return running; }
    const EqFit& fit() const { return result; }
    const Response& target() const { return targetResponse; }
    const Response& measured() const { return in.measured; }
    FitOptions options() const;
    QDoubleSpinBox* fromField() const { return from; }
    QDoubleSpinBox* toField() const { return to; }
    QDoubleSpinBox* maxBoostField() const { return maxBoost; }
    QCheckBox* cutOnlyBox() const { return cutOnly; }
    QCheckBox* keepBox(int row) const { return keep.at(static_cast<std::size_t>(row)); }
    QPushButton* targetButton() const { return targetChoice; }
    QPushButton* fitButton() const { return fitAgain; }
    QPushButton* stopButton() const { return stopFit; }
    QTableWidget* table() const { return bands; }
    QLabel* figuresLabel() const { return figures; }
    QProgressBar* busyBar() const { return busyIndicator; }
    const QImage& picture() const { return image; }
    QPushButton* applyButton() const { return apply; }
    QPushButton* cancelButton() const { return cancel; }

    static constexpr QRgb MeasurementColour = qRgb(255, 255, 255);
    static constexpr QRgb TargetColour = qRgb(255, 255, 0);
    static constexpr QRgb PredictedColour = qRgb(255, 0, 0);

signals:
    // A fit ended and its result is shown.
    void fitted();

private:
    void finished();
    void showResult();
    void fillTable();
    void drawCurves();

    Inputs in;
    Response targetResponse;
    const ResponseGraph& graph;
    ChooseTarget chooseTarget;
    EqFit result;
    bool running = false;
    bool closed = false;
    QFutureWatcher<EqFit> watcher;
    QDoubleSpinBox* from = nullptr;
    QDoubleSpinBox* to = nullptr;
    QDoubleSpinBox* maxBoost = nullptr;
    QCheckBox* cutOnly = nullptr;
    std::array<QCheckBox*, EqRowsPerChannel> keep{};
    QProgressBar* busyIndicator = nullptr;
    QPushButton* targetChoice = nullptr;
    QLabel* targetName = nullptr;
    QPushButton* fitAgain = nullptr;
    QPushButton* stopFit = nullptr;
    QTableWidget* bands = nullptr;
    QLabel* figures = nullptr;
    QLabel* pictureLabel = nullptr;
    QImage image;
    QPushButton* apply = nullptr;
    QPushButton* cancel = nullptr;
};

} // namespace m7410
