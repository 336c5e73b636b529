// Which characters a preset name may hold, shared by every name field.
#pragma once

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QString>

#include <cstddef>
#include <string>

namespace m7410 {

// The characters a preset name may hold: printable ASCII, space to '~'.
inline QString nameCharacters() {
    QString all;
    for (char c = 0x20; c <= 0x7E; ++c)
        all += QLatin1Char(c);
    return all;
}

// The key filter only sees typed keys; pasted text (context menu, middle click) must obey the
// same rule, or a name could carry bytes the unit's 20-byte field was never meant to hold.
// A longest length, if given, holds pasted text to what the unit can store.
inline void restrictToNameCharacters(QLineEdit* field, std::size_t longest = 0) {
    const QString pattern =
        longest == 0 ? QStringLiteral("[ -~]*") : QStringLiteral("[ -~]{0,%1}").arg(longest);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
}

// A name field's text as the bytes the unit stores. The fields show the unit's names byte for
// byte (Latin-1), so a name read from the unit goes back unchanged.
inline std::string nameBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace m7410
