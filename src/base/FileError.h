#pragma once
// An error that came from reading or writing one file. Its message stays the reader's
// own text; the file travels beside it, so that whoever reports the error (the start-up
// failure of the game and of the runner) can name the file without parsing messages.

#include <exception>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace kelvane {

class FileError : public std::runtime_error {
public:
    enum class Action { Reading, Writing };

    FileError(const std::string& message, std::string path, Action action, std::error_code code = {})
        : std::runtime_error(message), path_(std::move(path)), action_(action), code_(code) {}

    const std::string& Path() const { return path_; }
    Action Doing() const { return action_; }
    // The system's error, when the system refused (no space left, no such folder); else none.
    std::error_code Code() const { return code_; }
    // "while reading PATH" or "while writing PATH".
    std::string Context() const {
        return std::string(action_ == Action::Reading ? "while reading " : "while writing ") + path_;
    }

private:
    std::string path_;
    Action action_;
    std::error_code code_;
};

// Runs `body`; any error it throws leaves as a FileError naming `path`, with the same
// message and the original error nested inside it (std::rethrow_if_nested reaches it).
// An error that already names a file keeps its own: the innermost file is the one at fault.
template <typename Body>
decltype(auto) WithFile(const std::string& path, FileError::Action action, Body&& body) {
    try {
        return body();
    } catch (const FileError&) {
        throw;
    } catch (const std::exception& error) {
        std::throw_with_nested(FileError(error.what(), path, action));
    }
}

template <typename Body>
decltype(auto) WhileReading(const std::string& path, Body&& body) {
    return WithFile(path, FileError::Action::Reading, std::forward<Body>(body));
}

}  // namespace kelvane
