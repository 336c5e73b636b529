#include "panels/EqEditor.h"

#include "model/DisplayFormats.h"
#include "model/TypedValues.h"
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

using BandField = EqEditor::BandField;

// What a field edits: its table size, how a typed value is limited and snapped, and the text
// of a stored index.
struct FieldTable {
    int count;
    int32_t (*snap)(double);
    std::string (*format)(int32_t);
};

const FieldTable FreqField{FreqCount, snapFrequency, formatFrequency};
const FieldTable QField{QCount, snapQ, formatQ};
const FieldTable GainField{EqGainCount, snapEqGain, formatEqGain};

const FieldTable& tableOf(BandField kind) {
    switch (kind) {
    case BandField::Freq:
        return FreqField;
    case BandField::Q:
        return QField;
    case BandField::Gain:
        return GainField;
    }
    return FreqField;
}

// The band's stored index behind a field; the gain field edits the gain the type puts in force.
int32_t storedIndex(const EqBand& b, BandField kind) {
    switch (kind) {
    case BandField::Freq:
        return b.freq;
    case BandField::Q:
        return b.q;
    case BandField::Gain:
        return b.gainInForce();
    }
    return b.freq;
}

void store(EqBand& b, BandField kind, int32_t index) {
    switch (kind) {
    case BandField::Freq:
        b.freq = index;
        break;
    case BandField::Q:
        b.q = index;
        break;
    case BandField::Gain:
        b.setGainInForce(index);
        break;
    }
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

void EqEditor::wireSteps(FilteredField* field, SpinButtons* spin,
                         const std::function<void(int)>& step) {
    connect(spin, &SpinButtons::upClicked, this, [step] { step(1); });
    connect(spin, &SpinButtons::downClicked, this, [step] { step(-1); });
    connect(field, &FilteredField::stepRequested, this, step);
}

void EqEditor::showValue(FilteredField* field, const QString& shown) {
    field->setText(shown);
    // A field holding the focus (the page gives it on opening) takes a value stored some other
    // way as its entry text, so leaving it does not send the same value again.
    if (field->hasFocus()) ctx.edit.entryText = shown;
}

void EqEditor::wireRow(int row) {
    const EqRowControls& r = page.row(row);
    const std::pair<BandField, SpinButtons*> fields[] = {
        {BandField::Freq, r.freqSpin}, {BandField::Q, r.qSpin}, {BandField::Gain, r.gainSpin}};
    for (const auto& field : fields) {
        // Plain copies: clang 14 lets no lambda capture a structured binding.
        const BandField kind = field.first;
        SpinButtons* spin = field.second;
        wireField(bandField(row, kind), [this, row, kind] { return commitBandField(row, kind); });
        wireSteps(bandField(row, kind), spin,
                  [this, row, kind](int steps) { stepBand(row, kind, steps); });
    }
    connect(r.type, &QComboBox::activated, this,
            [this, row](int type) { bandTypeChosen(row, type); });
}

void EqEditor::wireCrossover(bool highPass) {
    const CrossoverControls& c = highPass ? page.highPass() : page.lowPass();
    wireField(c.freq, [this, highPass] { return commitCrossoverField(highPass); });
    wireSteps(c.freq, c.spin, [this, highPass](int steps) { stepCrossover(highPass, steps); });
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
    showValue(page.row(row).freq, text(formatFrequency(b.freq)));
    showValue(page.row(row).gain, text(formatEqGain(b.gainInForce())));
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
    const FieldTable& table = tableOf(kind);
    store(b, kind, table.snap(*value));
    bandEffect(band);
    field->setText(text(table.format(storedIndex(b, kind))));
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
    filter.freq = FreqField.snap(*value);
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
    const FieldTable& table = tableOf(kind);
    // A step of ten stops at the table's end; a step at the end does nothing.
    const int next = std::clamp(storedIndex(b, kind) + delta, 0, table.count - 1);
    if (next == storedIndex(b, kind)) return;
    store(b, kind, next);
    showValue(bandField(row, kind), text(table.format(next)));
    bandEffect(band);
}

void EqEditor::stepCrossover(bool highPass, int delta) {
    if (!editsChannel()) return;
    const int ch = ctx.edit.currentChannel;
    Crossover& x = ctx.model.crossover(ch);
    int32_t& index = (highPass ? x.hpf : x.lpf).freq;
    const int next = std::clamp(index + delta, 0, FreqCount - 1);
    if (next == index) return;
    index = next;
    showValue((highPass ? page.highPass() : page.lowPass()).freq, text(formatFrequency(index)));
    crossoverEffect(ch, highPass);
}

void EqEditor::bandTypeChosen(int row, int type) {
    if (!editsChannel() || type < 0 || type >= EqTypeCount) return;
    const int band = bandAddress(ctx.edit.currentChannel, row);
    EqBand& b = ctx.model.band(band);
    b.type = type;
    showValue(page.row(row).gain, text(formatEqGain(b.gainInForce())));
    bandEffect(band);
    page.showQ(row, b);
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
        showValue(page.row(row).gain, QStringLiteral("0"));
}

} // namespace m7410
