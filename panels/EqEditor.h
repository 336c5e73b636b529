// The editing behind the HPF/LPF/EQ page: typed values, spin buttons, type choices, "0 dB".
#pragma once

#include "panels/PanelContext.h"

#include <QObject>

#include <functional>
#include <optional>

namespace m7410 {

class EqPage;
class FilteredField;
class ResponseGraph;
class SpinButtons;

// The editing behind the HPF/LPF/EQ page: typed values with the commit rule of numeric
// fields, the spin buttons, the type selectors and the "0 dB" button. Every edit stores one
// table index in the model, redraws the graph and queues the one message of that filter.
class EqEditor : public QObject {
    Q_OBJECT
public:
    EqEditor(PanelContext context, EqPage& page, ResponseGraph& graph, QObject* parent = nullptr);

    // Set by the window: shows the progress box, locks the window and starts counting the
    // six sends of the "0 dB" sequence. Returns false, and nothing happens, while no link is
    // open.
    std::function<bool()> beginZeroDb;

    // Redraw after a band changed, then queue the band's message.
    void bandEffect(int band);
    // Redraw after a crossover filter changed, then queue the channel's crossover message.
    void crossoverEffect(int channel, bool highPass);
    // The row's frequency and gain fields show the band's stored values.
    void showBandValues(int row);

    void zeroDbClicked();

    // The numeric fields of a band row.
    enum class BandField { Freq, Q, Gain };

private:
    // Entering captures the entry text; Enter and leaving commit (commit returns whether it
    // stored a value).
    void wireField(FilteredField* field, const std::function<bool()>& commit);
    // Spin buttons and the Up, Down, Page Up and Page Down keys of a field.
    void wireSteps(FilteredField* field, SpinButtons* spin, const std::function<void(int)>& step);
    void showValue(FilteredField* field, const QString& shown);
    void wireRow(int row);
    void wireCrossover(bool highPass);
    bool editsChannel() const;
    FilteredField* bandField(int row, BandField kind) const;
    // The typed value to commit, or nothing: unchanged text, or text that is no number (which
    // puts the entry text back).
    std::optional<double> typedValue(FilteredField* field) const;

    bool commitBandField(int row, BandField kind);
    bool commitCrossoverField(bool highPass);
    void stepBand(int row, BandField kind, int delta);
    void stepCrossover(bool highPass, int delta);
    void bandTypeChosen(int row, int type);
    void crossoverTypeChosen(bool highPass, int type);

    PanelContext ctx;
    EqPage& page;
    ResponseGraph& graph;
};

} // namespace m7410
