#include "panels/ColourButton.h"

#include "panels/PanelColours.h"

namespace m7410 {

ColourButton::ColourButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAccessibleName(text);
    setColour(IdleColour);
}

void ColourButton::setColour(const QColor& colour) {
    faceColour = colour;
    // A style sheet colours the face under every widget style, not only the palette-driven ones.
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; "
                                 "border-radius: 2px; } QPushButton:pressed { border: 1px inset "
                                 "#404040; } QPushButton:disabled { color: #909090; }")
                      .arg(colour.name()));
}

} // namespace m7410
