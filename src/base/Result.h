#pragma once
// The one way the edges of the programs fail: an operation at an edge (options, files
// written, a recording opened, a tournament run) gives either its value or a Failure,
// which says how the program ends and why. The core keeps its exceptions; the edges turn
// them into Failures (FailureReport.h) and print them in one place.

#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

#include "base/ExitStatus.h"

namespace kelvane {

struct Failure {
    ExitStatus Status = ExitStatus::Failure;
    std::string Reason;   // one line, without the program's name; empty when already said
    std::string Context;  // "while reading PATH" when a file is at fault, else empty
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }
    // Only when Ok().
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    // Only when not Ok().
    const Failure& Error() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)), failed_(true) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    const Failure& Error() const { return failure_; }

private:
    Failure failure_;
    bool failed_ = false;
};

// A wrong command line. Option parsers throw it from deep inside and hand it on as a
// Failure with status BadInput (Catching, in FailureReport.h).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kelvane
