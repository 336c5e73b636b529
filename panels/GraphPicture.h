// The response picture on the HPF/LPF/EQ page, reporting the pointer.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace m7410 {

// The 720 x 249 response picture of the HPF/LPF/EQ page. It shows whatever was last painted
// into it and reports the pointer, so the marker editor can follow it.
class GraphPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int GraphWidth = 720;
    static constexpr int GraphHeight = 249;

    explicit GraphPicture(QWidget* parent = nullptr);

    void setPicture(const QImage& image);
    const QImage& picture() const { return image; }
    // Painted over the picture on every repaint (curves that follow the model, not the picture).
    void setOverlay(std::function<void(QPainter&)> paint);
    // The picture with the overlay, as the widget shows it.
    QImage shown() const;

signals:
    void pressedAt(QPoint pos, Qt::MouseButton button);
    void movedTo(QPoint pos);
    void released(QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image;
    std::function<void(QPainter&)> overlay;
};

} // namespace m7410
