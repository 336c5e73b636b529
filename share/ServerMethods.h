// The requests an owner answers: each method's parameters checked before anything reaches the
// unit, then the method's run on the unit.
#pragma once

#include "unit/UnitAccess.h"

#include <QJsonObject>
#include <QString>

#include <functional>
#include <variant>

namespace m7410 {

struct RequestError {
    QString kind; // a unit error's name or one of the protocol's own
    QString message;
};

using MethodReply = std::function<void(UnitResult<QJsonObject>)>;

struct Method {
    // An exchange with the unit: such methods take their turn, one after another. The others
    // answer from what is known at once.
    bool exchange = true;
    std::function<void(UnitAccess& unit, MethodReply reply)> run;
    // An exchange that needs none now (a connect on an open link) answers at once.
    std::function<bool(const UnitAccess& unit)> atOnce;
};

// The method of that name with its parameters checked, or why the request cannot be served.
// subscribe and unsubscribe are the server's own and not among these.
std::variant<Method, RequestError> prepareMethod(const QString& name, const QJsonObject& params);

} // namespace m7410
