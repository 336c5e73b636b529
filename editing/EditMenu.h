// The "edit" menu of the window: undo, redo, filter import and export.
#pragma once

#include "eqtext/FilterImport.h"

#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMainWindow;
class QMenu;

namespace m7410 {

class ChannelGroup;
class DelayPage;
class EditHistory;
class EqFitDialog;
class EqImportDialog;
class EqPage;
class GainPage;
class LimiterPage;
class MeasurementOverlay;
class ResponseGraph;
class Session;
class UserDialogs;
struct ChannelModel;
struct EditState;

// What the "edit" menu works on: the session, the editing state and the controls it redraws.
struct EditMenuParts {
    QMainWindow& window;
    Session& session;
    EditState& edit;
    ChannelGroup& rows;
    EqPage& eq;
    GainPage& gain;
    DelayPage& delay;
    LimiterPage& limiter;
    ResponseGraph& graph;
    UserDialogs& dialogs;
    // Puts the graph's picture on the EQ page.
    std::function<void()> showGraph;
};

// The "edit" menu: undo and redo of the user's edits (Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), import of
// a filter text into the open EQ page's channel and export of its bands. Each item is
// available exactly when the controls it changes are: with the link open and the window not
// locked by an exchange.
class EditMenu : public QObject {
    Q_OBJECT
public:
    // Inserts the menu into the window's menu bar before `before` (the "about" menu).
    EditMenu(EditMenuParts parts, QMenu* before, QObject* parent = nullptr);
    ~EditMenu() override;

    EditHistory& history() { return *editHistory; }
    QMenu* menu() const { return editMenu; }
    QAction* undoAction() const { return undo; }
    QAction* redoAction() const { return redo; }
    QAction* importAction() const { return importFilters; }
    QAction* exportAction() const { return exportFilters; }
    QAction* fitAction() const { return fitMeasurement; }
    // The last applied fit's measurement on the EQ page's graph.
    MeasurementOverlay& measurementOverlay() const { return *overlay; }

    // Brings the items' names and availability up to date.
    void update();
    bool editingAvailable() const;
    // The channel of the open EQ page, or -1.
    int eqPageChannel() const;

    // Shows the import preview; true when the user chose "Apply". Tests answer it themselves.
    std::function<bool(EqImportDialog& preview)> runPreview;
    // Shows the fit's preview likewise.
    std::function<bool(EqFitDialog& preview)> runFitPreview;

    void undoStep();
    void redoStep();
    void importClicked();
    void exportClicked();
    // "Fit to measurement...": a measurement file, the preview, then the bands as one step.
    void fitClicked();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // After a step was undone or redone: curves, row controls and the open page show the model.
    void redraw(const ChannelModel& before);
    QString channelName(int channel) const;
    // The six bands into the channel as one undo step, each band's message queued.
    void applyBands(int channel, const ChannelBands& bands, const QString& stepName);

    EditMenuParts p;
    std::unique_ptr<EditHistory> editHistory;
    QMenu* editMenu = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* importFilters = nullptr;
    QAction* exportFilters = nullptr;
    QAction* fitMeasurement = nullptr;
    MeasurementOverlay* overlay = nullptr;
};

} // namespace m7410
