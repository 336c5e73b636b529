// What every command works with: the connected engine, the console and the waits.
#pragma once

#include "ctl/ConsoleView.h"

#include <QJsonObject>

#include <functional>
#include <ostream>
#include <string>

namespace m7410 {

class Connection;
class Session;

// The engine a command drives, with the two things only its owner knows.
struct UnitLink {
    Session& session;
    Connection& connection;
    // Returns once the devices present are known (the first USB scan has run).
    std::function<void()> settle;
    // The link in use once open: "USB ..." or the serial port's path.
    std::function<std::string()> describe;
    // The serial port the connection tried (the last of the list); empty when there is none.
    std::function<std::string()> serialPort = [] { return std::string(); };
};

struct CommandContext {
    UnitLink link;
    ConsoleView& view;
    std::ostream& out;
    std::ostream& err;
    bool json = false;

    Session& session() { return link.session; }

    // Pumps the engine's events and timers until done() holds; false after timeoutMs, or at
    // once when the link was lost (the engine then showed its disconnection window).
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    // The line on standard error for a unit or file failure; returns ExitFailure.
    int fail(const std::string& line);
    // The JSON object as one line on standard output.
    void printJson(const QJsonObject& object);
};

// Latin-1 bytes as the unit keeps names, as UTF-8 for the console.
std::string consoleText(const std::string& latin1);

} // namespace m7410
