// The gain fader widget: track and knob, reporting the pointer to the gain page.
#pragma once

#include <QImage>
#include <QWidget>

namespace m7410 {

// The gain fader picture: the track and the knob drawn at a given top row. It reports the
// pointer; the gain page decides what a press or a move does.
class GainFader : public QWidget {
    Q_OBJECT
public:
    explicit GainFader(QWidget* parent = nullptr);

    // Draws the track and the knob (normal or pressed) with its top-left at (73, knobTop).
    void drawKnob(int knobTop, bool pressed);
    const QImage& picture() const { return image; }
    QSize sizeHint() const override;

signals:
    void pressedAt(QPoint pos);
    void movedTo(QPoint pos);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage track;
    QImage knob;
    QImage pressedKnob;
    QImage image;
};

} // namespace m7410
