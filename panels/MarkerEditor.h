// Dragging the EQ band markers on the response picture.
#pragma once

#include "panels/PanelContext.h"

#include <QObject>
#include <QPoint>

namespace m7410 {

class EqEditor;
class EqPage;
class ResponseGraph;

// Dragging the EQ band markers on the response picture: a press on a marker takes its band,
// every move puts the band's frequency and gain where the pointer is and queues its message,
// the release ends the drag.
class MarkerEditor : public QObject {
    Q_OBJECT
public:
    MarkerEditor(PanelContext context, EqPage& page, ResponseGraph& graph, EqEditor& editor,
                 QObject* parent = nullptr);

    void markerPress(QPoint pos);
    void markerMove(QPoint pos);
    void markerRelease();

private:
    PanelContext ctx;
    EqPage& page;
    ResponseGraph& graph;
    EqEditor& editor;
};

} // namespace m7410
