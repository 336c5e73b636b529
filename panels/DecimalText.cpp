#include "panels/DecimalText.h"

#include <QLocale>
#include <QRegularExpression>

#include <limits>

namespace m7410 {

std::optional<double> parseDecimalText(const QString& text) {
    qsizetype i = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    int digits = 0;
    int points = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.'))
            ++points;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (ok) return value;
    // With the characters right, only a value beyond a double's range fails: an integer part
    // other than zero overflowed, anything else is a tiny fraction.
    const QString whole = text.section(QLatin1Char('.'), 0, 0);
    const bool overflow = whole.contains(QRegularExpression(QStringLiteral("[1-9]")));
    const double magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    return text.startsWith(QLatin1Char('-')) ? -magnitude : magnitude;
}

} // namespace m7410
