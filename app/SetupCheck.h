// What `m7410 --check` finds and prints: USB nodes, serial ports, the program folder.
#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace m7410 {

class HidBackend;

// What `m7410 --check` reports, without a display: the unit's hidraw nodes and whether each
// opens, the serial ports, and the program folder with its settings file and logo.
class SetupCheck {
public:
    struct Result {
        std::string text;
        bool unitOpens = false; // the exit status is 0 only then
    };

    static Result run(HidBackend& hid, const QStringList& serialPorts, const QString& programDir);
    // The versions the program runs with, for --version.
    static QString versions();
};

} // namespace m7410
