#include "panels/MarkerEditor.h"

#include "panels/EqEditor.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "response/MarkerDrag.h"
#include "response/ResponseGraph.h"

namespace m7410 {

MarkerEditor::MarkerEditor(PanelContext context, EqPage& page, ResponseGraph& graph,
                           EqEditor& editor, QObject* parent)
    : QObject(parent), ctx(context), page(page), graph(graph), editor(editor) {
    connect(page.graph(), &GraphPicture::pressedAt, this,
            [this](QPoint pos, Qt::MouseButton) { markerPress(pos); });
    connect(page.graph(), &GraphPicture::movedTo, this, &MarkerEditor::markerMove);
    connect(page.graph(), &GraphPicture::released, this, [this] { markerRelease(); });
}

void MarkerEditor::markerPress(QPoint pos) {
    // A field edit still pending commits through its leave handler before anything moves.
    page.row(0).freq->setFocus(Qt::OtherFocusReason);
    const int ch = ctx.edit.currentChannel;
    const int row = MarkerDrag::hitRow(graph.curves(), ch, pos.x(), pos.y());
    // A miss also ends a drag whose release never came (the page was closed under a held
    // button), so that drag cannot carry over to this press.
    ctx.edit.dragging = row >= 0;
    if (row < 0) return;
    ctx.edit.currentBand = bandAddress(ch, row);
}

void MarkerEditor::markerMove(QPoint pos) {
    if (!ctx.edit.dragging) return;
    const int ch = ctx.edit.currentChannel;
    const int band = ctx.edit.currentBand;
    if (ch < 0 || ch >= ChannelCount || band < 0 || band >= EqBandCount ||
        channelOfBand(band) != ch)
        return;
    const MarkerDrag drag(graph.geometry());
    EqBand& b = ctx.model.band(band);
    // Each coordinate follows the pointer only inside its range. One outside keeps the stored
    // value rather than reading it back from the drawn marker: the row-to-gain mapping is not
    // the exact inverse of gain-to-row, so reading it back would creep the gain on every step
    // of a sideways drag. The band redraw then snaps the marker to the stored values.
    if (MarkerDrag::columnFollows(pos.x())) b.freq = drag.freqIndexAt(pos.x());
    if (MarkerDrag::rowFollows(pos.y())) b.setGainInForce(drag.gainIndexAt(pos.y()));
    editor.showBandValues(rowOfBand(band));
    editor.bandEffect(band);
}

void MarkerEditor::markerRelease() {
    ctx.edit.dragging = false;
}

} // namespace m7410
