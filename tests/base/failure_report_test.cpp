// The edges print a failure the same way everywhere: the reason, then the file at fault.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/FailureReport.h"
#include "base/FileError.h"

namespace kelvane {
namespace {

std::string Printed(const Failure& failure) {
    ::testing::internal::CaptureStderr();
    const ExitStatus status = ReportFailure("kelvane-sim", failure);
    EXPECT_EQ(status, failure.Status);
    return ::testing::internal::GetCapturedStderr();
}

TEST(FailureReport, TheReasonThenTheFileAtFault) {
    const FileError picture("Bitmap image is not valid", "/d/Data/Ships/Lancer.bmp", FileError::Action::Reading);
    const FileError written("cannot write /tmp/a.json: No space left on device", "/tmp/a.json",
                            FileError::Action::Writing);
    const struct {
        const char* what;
        Failure failure;
        std::string printed;
    } cases[] = {
        {"a start that failed on a file", StartFailure(picture),
         "kelvane-sim: the game cannot start: Bitmap image is not valid\n"
         "kelvane-sim: while reading /d/Data/Ships/Lancer.bmp\n"},
        {"a start that failed on no file", StartFailure(std::runtime_error("no font")),
         "kelvane-sim: the game cannot start: no font\n"},
        {"the form's start error", StartFailure("Stream read error", "while reading /d/Data/GFX.dxg"),
         "kelvane-sim: the game cannot start: Stream read error\nkelvane-sim: while reading /d/Data/GFX.dxg\n"},
        {"a message that names its file already", FailureOf(written, ExitStatus::Failure),
         "kelvane-sim: cannot write /tmp/a.json: No space left on device\n"},
        {"a reading error at an edge", FailureOf(picture, ExitStatus::BadInput),
         "kelvane-sim: Bitmap image is not valid\nkelvane-sim: while reading /d/Data/Ships/Lancer.bmp\n"},
        {"said already", Failure{ExitStatus::Failure, "", ""}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Printed(c.failure), c.printed) << c.what;
    EXPECT_EQ(FailureOf(picture, ExitStatus::BadInput).Status, ExitStatus::BadInput);
    EXPECT_EQ(FailureOf(written, ExitStatus::Failure).Status, ExitStatus::WriteFailed);  // always, where it is caught
}

TEST(FailureReport, CatchingTurnsOneKindOfErrorIntoAFailure) {
    const Result<int> parsed = Catching<UsageError>(ExitStatus::BadInput, []() -> int {
        throw UsageError("unknown option '--bogus'");
    });
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.Error().Status, ExitStatus::BadInput);
    EXPECT_EQ(parsed.Error().Reason, "unknown option '--bogus'");
    EXPECT_EQ(*Catching<UsageError>(ExitStatus::BadInput, [] { return 7; }), 7);
    EXPECT_TRUE(Catching<UsageError>(ExitStatus::BadInput, [] {}));
    // Another kind of error is not this edge's to turn: it goes on.
    EXPECT_THROW((void)Catching<UsageError>(ExitStatus::BadInput, []() -> int { throw std::logic_error("bug"); }),
                 std::logic_error);
}

}  // namespace
}  // namespace kelvane
