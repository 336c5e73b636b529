// The window as the owner of its unit: while its link is open it serves the unit to this user's
// other programs, and shows what they change as soon as the unit has it.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace m7410 {

class Clock;
class Unit;
class UnitServer;

class WindowOwner : public QObject {
    Q_OBJECT
public:
    // showOthersEdit redraws the window from the model after another program's change.
    WindowOwner(Unit& unit, Clock& clock, std::function<void()> showOthersEdit,
                QObject* parent = nullptr);
    ~WindowOwner() override;

    UnitServer& server() { return *serving; }

private:
    void linkChanged(bool open);
    void othersEdit();

    Unit& unit;
    std::unique_ptr<UnitServer> serving;
    std::function<void()> showOthersEdit;
    int listener = 0;
    // Many parameters of one request (a channel's six bands) redraw the window once.
    bool redrawDue = false;
};

} // namespace m7410
