// Whether the window's captions fit, stay in sight and contrast with their faces.
#pragma once

#include "app/ProgressBox.h"
#include "panels/PageFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <map>
#include <optional>

// Where the captions of a window are drawn, whether each fits the room its widget gives it
// and stays in sight, and how it contrasts with the face it is drawn on.
namespace m7410::test {

struct Caption {
    QWidget* widget;
    QString text;
    QRect drawn; // widget coordinates
    QRect room;
};

inline QString describe(const QWidget* w, QString text) {
    if (text.isEmpty()) {
        if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
        if (auto* g = qobject_cast<const QGroupBox*>(w)) text = g->title();
    }
    QString name = w->accessibleName();
    if (name.isEmpty()) name = w->accessibleDescription();
    return QStringLiteral("%1 \"%2\" (%3)").arg(w->metaObject()->className(), text, name);
}

// The caption a widget shows, or `text` in its place; nothing for widgets without text.
inline std::optional<Caption> captionOf(QWidget* w, std::optional<QString> text = std::nullopt) {
    QStyle* style = w->style();
    const QFontMetrics fm = w->fontMetrics();
    auto place = [&](const QString& shown, QRect room,
                     Qt::Alignment align) -> std::optional<Caption> {
        if (shown.isEmpty()) return std::nullopt;
        const QSize size(fm.horizontalAdvance(shown), fm.height());
        return Caption{w, shown, QStyle::alignedRect(w->layoutDirection(), align, size, room),
                       room};
    };
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (!l->pixmap().isNull()) return std::nullopt;
        return place(text.value_or(l->text()), l->contentsRect(), l->alignment());
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        return place(text.value_or(b->text()),
                     style->subElementRect(QStyle::SE_PushButtonContents, &opt, b),
                     Qt::AlignCenter);
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(e);
        opt.lineWidth =
            e->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
        opt.state |= QStyle::State_Sunken;
        // QLineEdit keeps two pixels each side and one above and below inside its contents.
        const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &opt, e)
                               .marginsRemoved(e->textMargins())
                               .adjusted(2, 1, -2, -1);
        return place(text.value_or(e->displayText()), room, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        opt.frame = c->hasFrame();
        const QRect room =
            style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c)
                .adjusted(1, 0, -1, 0);
        return place(text.value_or(c->currentText()), room, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = text.value_or(g->title());
        if (opt.text.isEmpty()) return std::nullopt;
        opt.textAlignment = g->alignment();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        opt.lineWidth = 1;
        if (g->isFlat()) opt.features |= QStyleOptionFrame::Flat;
        return Caption{
            g, opt.text,
            style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g),
            g->rect()};
    }
    return std::nullopt;
}

// Pop-up pages and the progress box cover other controls on purpose.
inline bool isOverlay(const QWidget* w) {
    return qobject_cast<const PageFrame*>(w) != nullptr ||
           qobject_cast<const ProgressBox*>(w) != nullptr;
}

// Whether the caption is on screen at all: controls kept beyond the window's edge are not.
inline bool inSight(const Caption& c) {
    return c.widget->isVisible() && !c.widget->visibleRegion().isEmpty();
}

// Why the caption does not fit, or an empty text: larger than its room, cut by an enclosing
// box, or run into a neighbour (for a box title, also into the box's own controls).
inline QString unfit(const Caption& c) {
    const QString what = describe(c.widget, c.text);
    if (c.drawn.width() > c.room.width() || c.drawn.height() > c.room.height()) {
        return what + QStringLiteral(": needs %1x%2, has %3x%4")
                          .arg(c.drawn.width())
                          .arg(c.drawn.height())
                          .arg(c.room.width())
                          .arg(c.room.height());
    }
    auto runsInto = [&](const QWidget* level, QRect drawn, const QWidget* self) -> QString {
        for (QObject* o : level->children()) {
            auto* other = qobject_cast<QWidget*>(o);
            if (other == nullptr || other == self || other->isWindow() || !other->isVisible() ||
                isOverlay(other))
                continue;
            // An empty label draws nothing.
            if (auto* l = qobject_cast<QLabel*>(other);
                l != nullptr && l->text().isEmpty() && l->pixmap().isNull() &&
                !l->autoFillBackground() && l->frameShape() == QFrame::NoFrame)
                continue;
            if (other->geometry().intersects(drawn))
                return what + QStringLiteral(": runs into ") + describe(other, QString());
        }
        return {};
    };
    if (qobject_cast<QGroupBox*>(c.widget) != nullptr) {
        const QString hit = runsInto(c.widget, c.drawn, nullptr);
        if (!hit.isEmpty()) return hit;
    }
    QRect drawn = c.drawn;
    for (const QWidget* w = c.widget; !w->isWindow() && w->parentWidget() != nullptr;
         w = w->parentWidget()) {
        drawn.translate(w->pos());
        const QWidget* parent = w->parentWidget();
        if (!parent->rect().contains(drawn))
            return what + QStringLiteral(": cut by the edge of ") + describe(parent, QString());
        // A pop-up lies over its neighbours on purpose.
        if (isOverlay(w)) continue;
        const QString hit = runsInto(parent, drawn, w);
        if (!hit.isEmpty()) return hit;
    }
    return {};
}

inline double luminance(QRgb c) {
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

inline double contrast(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Contrast of the caption's text with its face, read from the window's picture: the face is
// the commonest colour where the text is drawn, the text the colour that stands out most.
inline double captionContrast(const Caption& c, const QImage& picture, const QWidget* window) {
    const QRect area =
        QRect(c.widget->mapTo(window, c.drawn.topLeft()), c.drawn.size()) & picture.rect();
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xff000000u];
    }
    if (counts.empty()) return 0;
    QRgb face = counts.begin()->first;
    for (auto [colour, n] : counts) {
        if (n > counts[face]) face = colour;
    }
    double best = 1;
    for (auto [colour, n] : counts)
        best = std::max(best, contrast(colour, face));
    return best;
}

// Every caption of the window in sight that does not fit or reads below 4.5:1.
inline QStringList captionFaults(QWidget* window) {
    QCoreApplication::processEvents(); // pending layouts
    const QImage picture = window->grab().toImage();
    QList<QWidget*> overlays;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (isOverlay(w) && w->isVisible()) overlays << w;
    }
    QStringList faults;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window) continue;
        const std::optional<Caption> c = captionOf(w);
        if (!c || !inSight(*c)) continue;
        const QString why = unfit(*c);
        if (!why.isEmpty()) faults << why;
        const QRect onWindow(w->mapTo(window, c->drawn.topLeft()), c->drawn.size());
        bool underOverlay = false;
        for (const QWidget* o : overlays) {
            const QRect cover(o->mapTo(window, QPoint(0, 0)), o->size());
            underOverlay =
                underOverlay || (o != w && !o->isAncestorOf(w) && cover.intersects(onWindow));
        }
        if (!w->isEnabled() || underOverlay) continue;
        const double ratio = captionContrast(*c, picture, window);
        if (ratio < 4.5)
            faults << describe(w, c->text) +
                          QStringLiteral(": contrast %1:1").arg(ratio, 0, 'f', 2);
    }
    return faults;
}

} // namespace m7410::test
