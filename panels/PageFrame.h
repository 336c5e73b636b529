// The framed pop-up panel with a title and a close button that every page and box uses.
#pragma once

#include <QFrame>

class QLabel;
class QToolButton;

namespace m7410 {

// A pop-up editing panel: a framed box with a title and a small close button at its top
// right. Panels are made once and only shown, hidden and moved.
class PageFrame : public QFrame {
    Q_OBJECT
public:
    PageFrame(const QString& accessibleName, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;
    QToolButton* closeButton() const { return closer; }

signals:
    void closeClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* titleLabel;
    QToolButton* closer;
};

} // namespace m7410
