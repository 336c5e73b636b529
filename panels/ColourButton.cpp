#include "panels/ColourButton.h"

#include "panels/PanelColours.h"

namespace m7410 {

ColourButton::ColourButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAccessibleName(text);
    setColour(IdleColour);
}

void ColourButton::setColour(const QColor& colour) {
    // Status replies set the same colour twice a second; a new style sheet is parsed and
    // repainted every time, so only a change is applied.
    if (colour != faceColour || styleSheet().isEmpty()) {
        faceColour = colour;
        // A style sheet colours the face under every widget style, not only the palette-driven
        // ones. The caption's colour goes with the face, not with the desktop's palette.
        setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid "
                           "#808080; border-radius: 2px; } QPushButton:pressed { border: 1px "
                           "inset #404040; } QPushButton:disabled { color: #909090; }")
                .arg(colour.name(), textColourOn(colour).name()));
    }
    // A widget with a style sheet takes the application's font, not its box's: the window's
    // boxes have a font of their own, so the button takes it over explicitly.
    if (parentWidget() != nullptr) setFont(parentWidget()->font());
}

} // namespace m7410
