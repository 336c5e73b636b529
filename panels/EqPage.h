// The HPF/LPF/EQ page shared by all four channels.
#pragma once

#include "panels/PageFrame.h"
#include "panels/PanelContext.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace m7410 {

class FilteredField;
class GraphPicture;
class SpinButtons;

struct EqRowControls {
    QLabel* number = nullptr;
    FilteredField* freq = nullptr;
    SpinButtons* freqSpin = nullptr;
    FilteredField* q = nullptr;
    SpinButtons* qSpin = nullptr;
    FilteredField* gain = nullptr;
    SpinButtons* gainSpin = nullptr;
    QComboBox* type = nullptr;
};

struct CrossoverControls {
    FilteredField* freq = nullptr;
    SpinButtons* spin = nullptr;
    QComboBox* type = nullptr;
};

// The HPF/LPF/EQ page shared by all four channels: the six band rows, the crossover box, the
// "0 dB" button and the response picture. Opening the page fills it from the model; the
// editing behind its fields is attached by the equaliser editor.
class EqPage : public PageFrame {
    Q_OBJECT
public:
    static constexpr int GraphTop = 170;

    explicit EqPage(PanelContext context, QWidget* parent = nullptr);

    // Titles, crossover box and band rows of a channel, as the page shows them on opening.
    void fill(int channel);
    // Copies the channel's six bands into the rows.
    void fillEqFields(int channel);
    // The row's Q field shows the band's Q; a shelf has none, so the field is empty and off.
    void showQ(int n, const EqBand& band);

    const EqRowControls& row(int n) const { return rows.at(n); }
    const CrossoverControls& highPass() const { return hpf; }
    const CrossoverControls& lowPass() const { return lpf; }
    QGroupBox* bandBox() const { return bands; }
    QGroupBox* crossoverBox() const { return crossovers; }
    QPushButton* zeroDbButton() const { return zeroDb; }
    // "Fit to measurement...", which the edit menu's item of that name answers.
    QPushButton* fitButton() const { return fit; }
    // "Show measurement": the last applied fit's measurement over the graph (checkable).
    QPushButton* measurementToggle() const { return showMeasurement; }
    GraphPicture* graph() const { return graphPicture; }

private:
    void buildBandBox();
    void buildCrossoverBox();
    CrossoverControls buildCrossoverRow(const QString& name, int top);

    PanelContext ctx;
    QGroupBox* bands;
    QGroupBox* crossovers;
    QPushButton* zeroDb;
    QPushButton* fit;
    QPushButton* showMeasurement;
    GraphPicture* graphPicture;
    std::array<EqRowControls, EqRowsPerChannel> rows{};
    CrossoverControls hpf;
    CrossoverControls lpf;
};

} // namespace m7410
