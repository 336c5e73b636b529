// Running a test in a decimal-comma locale.
#pragma once

#include <QLocale>
#include <QString>

#include <clocale>
#include <string>

// Puts the test process in a decimal-comma locale, as a German or French desktop session does
// (QApplication adopts the session's locale for the C library too), and back when it goes.
namespace m7410::test {

class CommaLocale {
public:
    explicit CommaLocale(const char* name)
        : previous(std::setlocale(LC_ALL, nullptr)), previousQt(QLocale()) {
        set = std::setlocale(LC_ALL, name) != nullptr;
        if (set) QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, previous.c_str());
        QLocale::setDefault(previousQt);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when the locale is not generated on this machine (scripts/install-deps makes it):
    // the tests fail then rather than pass without having tried.
    bool active() const {
        return set && std::localeconv()->decimal_point[0] == ',' &&
               QLocale().decimalPoint() == QStringLiteral(",");
    }

private:
    std::string previous;
    QLocale previousQt;
    bool set = false;
};

inline constexpr const char* CommaLocales[] = {"de_DE.UTF-8", "fr_FR.UTF-8"};

} // namespace m7410::test
