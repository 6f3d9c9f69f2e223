#pragma once
// Where the edges of the programs turn errors into Failures and print them: one line
// "PROGRAM: REASON" on standard error, and "PROGRAM: while reading PATH" after it when a
// file is at fault; standard output checked before the program ends.

#include <exception>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/Result.h"

namespace kelvane {

// An error caught at an edge: its message, and the file of a FileError when the message
// does not name it already. `status` is what the error means there; a file that could
// not be written always means WriteFailed.
Failure FailureOf(const std::exception& error, ExitStatus status);

// Runs `body`; an error of type E that it throws comes back as a Failure with `status`.
template <class E, class Body>
auto Catching(ExitStatus status, Body&& body) -> Result<decltype(body())> {
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            return {};
        } else {
            return body();
        }
    } catch (const E& error) {
        return FailureOf(error, status);
    }
}

// "the game cannot start: REASON", with the file at fault ("while reading PATH") if any.
Failure StartFailure(const std::string& reason, const std::string& context = {});
Failure StartFailure(const std::exception& error);

// Prints the failure on standard error, each line after "PROGRAM: "; gives its status.
ExitStatus ReportFailure(std::string_view program, const Failure& failure);

// The end of main: standard output is flushed and checked. When it could not be written
// a line says so and a status of success becomes WriteFailed (any other stays). Gives the
// process's exit code.
int EndProgram(std::string_view program, ExitStatus status);

}  // namespace kelvane
