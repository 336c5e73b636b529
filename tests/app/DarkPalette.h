// A dark desktop palette for the window tests.
#pragma once

#include <QPalette>

namespace m7410::test {

// A dark desktop scheme like the common "darker" ones: light text on dark faces.
inline QPalette darkPalette() {
    QPalette p;
    const QColor window(53, 53, 53);
    const QColor base(35, 35, 35);
    for (QPalette::ColorRole r : {QPalette::Window, QPalette::Button})
        p.setColor(r, window);
    for (QPalette::ColorRole r : {QPalette::Base, QPalette::AlternateBase})
        p.setColor(r, base);
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                  QPalette::ToolTipText, QPalette::BrightText})
        p.setColor(r, QColor(235, 235, 235));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, r, QColor(127, 127, 127));
    return p;
}

} // namespace m7410::test
