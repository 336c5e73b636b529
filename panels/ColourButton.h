// A push button whose face colour tells a state.
#pragma once

#include <QColor>
#include <QPushButton>

namespace m7410 {

// A push button whose face colour tells a state (open page, muted).
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(const QString& text, QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QColor colour() const { return faceColour; }

private:
    QColor faceColour;
};

} // namespace m7410
