#include "base/FailureReport.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "base/FileError.h"

namespace kelvane {

Failure FailureOf(const std::exception& error, ExitStatus status) {
    Failure failure{status, error.what(), {}};
    if (const auto* fileError = dynamic_cast<const FileError*>(&error)) {
        if (failure.Reason.find(fileError->Path()) == std::string::npos) failure.Context = fileError->Context();
        if (fileError->Doing() == FileError::Action::Writing) failure.Status = ExitStatus::WriteFailed;
    }
    return failure;
}

Failure StartFailure(const std::string& reason, const std::string& context) {
    return {ExitStatus::Failure, "the game cannot start: " + reason, context};
}

Failure StartFailure(const std::exception& error) {
    const auto* fileError = dynamic_cast<const FileError*>(&error);
    return StartFailure(error.what(), fileError ? fileError->Context() : std::string());
}

ExitStatus ReportFailure(std::string_view program, const Failure& failure) {
    const int width = static_cast<int>(program.size());
    if (!failure.Reason.empty()) std::fprintf(stderr, "%.*s: %s\n", width, program.data(), failure.Reason.c_str());
    if (!failure.Context.empty()) std::fprintf(stderr, "%.*s: %s\n", width, program.data(), failure.Context.c_str());
    return failure.Status;
}

int EndProgram(std::string_view program, ExitStatus status) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int code = errno;
    if (!flushed || std::ferror(stdout)) {
        // A write that failed earlier may leave nothing to flush: the stream's error flag tells.
        std::string reason = "cannot write standard output";
        if (!flushed && code != 0) reason += ": " + std::generic_category().message(code);
        ReportFailure(program, {ExitStatus::WriteFailed, reason, {}});
        if (status == ExitStatus::Success) status = ExitStatus::WriteFailed;
    }
    return static_cast<int>(status);
}

}  // namespace kelvane
