// The outcome of a unit operation: its value, or the error that stopped it.
#pragma once

#include "unit/UnitError.h"

#include <functional>
#include <optional>
#include <utility>
#include <variant>

namespace m7410 {

// For operations that give back nothing but success.
struct Done {};

template <class T> class UnitResult {
public:
    UnitResult(T value) : held(std::move(value)) {}
    UnitResult(UnitError error) : held(std::move(error)) {}
    static UnitResult failure(UnitErrorKind kind, std::string message) {
        return UnitResult(UnitError{kind, std::move(message)});
    }

    bool ok() const { return std::holds_alternative<T>(held); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(held); }
    T& value() { return std::get<T>(held); }
    const UnitError& error() const { return std::get<UnitError>(held); }

private:
    std::variant<T, UnitError> held;
};

// How an asynchronous operation hands over its outcome; called once, on the engine's thread.
template <class T> using UnitDone = std::function<void(UnitResult<T>)>;

} // namespace m7410
