#include "panels/EqEditor.h"

#include "model/DisplayFormats.h"
#include "model/NearestIndex.h"
#include "model/ValueTables.h"
#include "panels/DecimalText.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "panels/SpinButtons.h"
#include "response/ResponseGraph.h"

#include <QComboBox>
#include <QPushButton>

#include <algorithm>

namespace m7410 {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Typed values are limited to the ends of their tables before they are snapped.
constexpr double FreqLowest = 19.7;
constexpr double FreqHighest = 21900.0;
constexpr double QLowest = 0.2;
constexpr double QHighest = 36.0;
constexpr double GainLowest = -24.0;
constexpr double GainHighest = 12.0;

// The gain the band's type puts in force, for editing in place.
int32_t& gainInForce(EqBand& b) {
    return b.type == EqTypePeaking ? b.peakGain : b.shelfGain;
}

} // namespace

EqEditor::EqEditor(PanelContext context, EqPage& page, ResponseGraph& graph, QObject* parent)
    : QObject(parent), ctx(context), page(page), graph(graph) {
    for (int row = 0; row < EqRowsPerChannel; ++row)
        wireRow(row);
    wireCrossover(true);
    wireCrossover(false);
    connect(page.zeroDbButton(), &QPushButton::clicked, this, &EqEditor::zeroDbClicked);
}

void EqEditor::wireField(FilteredField* field, const std::function<bool()>& commit) {
    connect(field, &FilteredField::entered, this,
            [this, field] { ctx.edit.enterField(field->text()); });
    // After Enter the committed text counts as the entry text, so leaving commits nothing.
    connect(field, &FilteredField::enterPressed, this, [this, field, commit] {
        if (commit()) ctx.edit.entryText = field->text();
    });
    connect(field, &FilteredField::left, this, [this, commit] {
        ctx.edit.leaveField();
        commit();
    });
}

void EqEditor::wireRow(int row) {
    const EqRowControls& r = page.row(row);
    const std::pair<BandField, SpinButtons*> fields[] = {
        {BandField::Freq, r.freqSpin}, {BandField::Q, r.qSpin}, {BandField::Gain, r.gainSpin}};
    for (auto [kind, spin] : fields) {
        wireField(bandField(row, kind), [this, row, kind] { return commitBandField(row, kind); });
        connect(spin, &SpinButtons::upClicked, this, [this, row, kind] { stepBand(row, kind, 1); });
        connect(spin, &SpinButtons::downClicked, this,
                [this, row, kind] { stepBand(row, kind, -1); });
    }
    connect(r.type, &QComboBox::activated, this,
            [this, row](int type) { bandTypeChosen(row, type); });
}

void EqEditor::wireCrossover(bool highPass) {
    const CrossoverControls& c = highPass ? page.highPass() : page.lowPass();
    wireField(c.freq, [this, highPass] { return commitCrossoverField(highPass); });
    connect(c.spin, &SpinButtons::upClicked, this,
            [this, highPass] { stepCrossover(highPass, 1); });
    connect(c.spin, &SpinButtons::downClicked, this,
            [this, highPass] { stepCrossover(highPass, -1); });
    connect(c.type, &QComboBox::activated, this,
            [this, highPass](int type) { crossoverTypeChosen(highPass, type); });
}

bool EqEditor::editsChannel() const {
    return ctx.edit.currentChannel >= 0 && ctx.edit.currentChannel < ChannelCount;
}

FilteredField* EqEditor::bandField(int row, BandField kind) const {
    const EqRowControls& r = page.row(row);
    switch (kind) {
    case BandField::Freq:
        return r.freq;
    case BandField::Q:
        return r.q;
    case BandField::Gain:
        return r.gain;
    }
    return r.freq;
}

void EqEditor::bandEffect(int band) {
    graph.refreshBand(band);
    page.graph()->setPicture(graph.picture());
    ctx.builders.QueueEqBandMessage(band);
}

void EqEditor::crossoverEffect(int channel, bool highPass) {
    if (highPass)
        graph.redrawHighPass(channel);
    else
        graph.redrawLowPass(channel);
    page.graph()->setPicture(graph.picture());
    ctx.builders.QueueCrossoverMessage(channel);
}

void EqEditor::showBandValues(int row) {
    if (!editsChannel()) return;
    const EqBand& b = ctx.model.band(bandAddress(ctx.edit.currentChannel, row));
    page.row(row).freq->setText(text(formatFrequency(b.freq)));
    page.row(row).gain->setText(text(formatEqGain(b.gainInForce())));
}

std::optional<double> EqEditor::typedValue(FilteredField* field) const {
    if (field->text() == ctx.edit.entryText) return std::nullopt;
    const std::optional<double> value = parseDecimalText(field->text());
    if (!value) field->setText(ctx.edit.entryText);
    return value;
}

bool EqEditor::commitBandField(int row, BandField kind) {
    if (!editsChannel()) return false;
    const int band = bandAddress(ctx.edit.currentChannel, row);
    ctx.edit.currentBand = band;
    FilteredField* field = bandField(row, kind);
    const std::optional<double> value = typedValue(field);
    if (!value) return false;
    EqBand& b = ctx.model.band(band);
    QString shown;
    switch (kind) {
    case BandField::Freq:
        b.freq = nearestIndex(FreqTable, std::clamp(*value, FreqLowest, FreqHighest));
        shown = text(formatFrequency(b.freq));
        break;
    case BandField::Q:
        b.q = nearestIndex(QTable, std::clamp(*value, QLowest, QHighest));
        shown = text(formatQ(b.q));
        break;
    case BandField::Gain:
        gainInForce(b) = nearestIndex(EqGainTable, std::clamp(*value, GainLowest, GainHighest));
        shown = text(formatEqGain(b.gainInForce()));
        break;
    }
    bandEffect(band);
    field->setText(shown);
    return true;
}

bool EqEditor::commitCrossoverField(bool highPass) {
    if (!editsChannel()) return false;
    const int ch = ctx.edit.currentChannel;
    FilteredField* field = (highPass ? page.highPass() : page.lowPass()).freq;
    const std::optional<double> value = typedValue(field);
    if (!value) return false;
    Crossover& x = ctx.model.crossover(ch);
    CrossoverFilter& filter = highPass ? x.hpf : x.lpf;
    filter.freq = nearestIndex(FreqTable, std::clamp(*value, FreqLowest, FreqHighest));
    crossoverEffect(ch, highPass);
    field->setText(text(formatFrequency(filter.freq)));
    return true;
}

void EqEditor::stepBand(int row, BandField kind, int delta) {
    if (!editsChannel()) return;
    const int band = bandAddress(ctx.edit.currentChannel, row);
    EqBand& b = ctx.model.band(band);
    // A shelf has no Q to step (its spin buttons are disabled too).
    if (kind == BandField::Q && b.type != EqTypePeaking) return;
    int32_t& index = kind == BandField::Freq ? b.freq : kind == BandField::Q ? b.q : gainInForce(b);
    const int last = kind == BandField::Freq ? FreqCount - 1
                     : kind == BandField::Q  ? QCount - 1
                                             : EqGainCount - 1;
    const int next = index + delta;
    if (next < 0 || next > last) return;
    index = next;
    const std::string shown = kind == BandField::Freq ? formatFrequency(b.freq)
                              : kind == BandField::Q  ? formatQ(b.q)
                                                      : formatEqGain(index);
    bandField(row, kind)->setText(text(shown));
    bandEffect(band);
}

void EqEditor::stepCrossover(bool highPass, int delta) {
    if (!editsChannel()) return;
    const int ch = ctx.edit.currentChannel;
    Crossover& x = ctx.model.crossover(ch);
    int32_t& index = (highPass ? x.hpf : x.lpf).freq;
    const int next = index + delta;
    if (next < 0 || next > FreqCount - 1) return;
    index = next;
    (highPass ? page.highPass() : page.lowPass()).freq->setText(text(formatFrequency(index)));
    crossoverEffect(ch, highPass);
}

void EqEditor::showQ(int row) {
    const EqBand& b = ctx.model.band(bandAddress(ctx.edit.currentChannel, row));
    const EqRowControls& r = page.row(row);
    const bool shelf = b.type != EqTypePeaking;
    if (shelf)
        r.q->clear();
    else
        r.q->setText(text(formatQ(b.q)));
    r.q->setEnabled(!shelf);
    r.qSpin->setEnabled(!shelf);
}

void EqEditor::bandTypeChosen(int row, int type) {
    if (!editsChannel() || type < 0 || type >= EqTypeCount) return;
    const int band = bandAddress(ctx.edit.currentChannel, row);
    EqBand& b = ctx.model.band(band);
    b.type = type;
    page.row(row).gain->setText(text(formatEqGain(b.gainInForce())));
    bandEffect(band);
    showQ(row);
}

void EqEditor::crossoverTypeChosen(bool highPass, int type) {
    if (!editsChannel() || type < 0 || type >= FilterTypeCount) return;
    const int ch = ctx.edit.currentChannel;
    Crossover& x = ctx.model.crossover(ch);
    (highPass ? x.hpf : x.lpf).type = type;
    crossoverEffect(ch, highPass);
}

void EqEditor::zeroDbClicked() {
    if (!editsChannel() || !beginZeroDb || !beginZeroDb()) return;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const int band = bandAddress(ctx.edit.currentChannel, row);
        ctx.model.band(band).setGainInForce(EqGainZeroIndex);
        bandEffect(band);
    }
    for (int row = 0; row < EqRowsPerChannel; ++row)
        page.row(row).gain->setText(QStringLiteral("0"));
}

} // namespace m7410
