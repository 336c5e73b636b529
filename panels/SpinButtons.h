// The up/down pair beside a numeric field that steps a table index.
#pragma once

#include <QWidget>

class QToolButton;

namespace m7410 {

// The small up/down pair beside a numeric field; it steps a table index, it holds no value.
class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(const QString& accessibleName, QWidget* parent = nullptr);

    QToolButton* upButton() const { return up; }
    QToolButton* downButton() const { return down; }

signals:
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up;
    QToolButton* down;
};

} // namespace m7410
