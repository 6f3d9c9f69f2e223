// Every file is looked at before it is read: regular files within their limit are read,
// anything else is refused at once with the file and the reason in the message.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "base/Hash64.h"
#include "base/InputFile.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

class InputFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kelvane-input-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const char* name) const { return (folder / name).string(); }
    fs::path folder;
};

constexpr FileLimit Small{1000, "a test file"};

TEST_F(InputFileTest, ARegularFileWithinItsLimitIsReadWhole) {
    const std::string text = std::string(999, 'x') + "\n";
    std::ofstream(Path("ok")) << text;
    EXPECT_EQ(ReadFileText(Path("ok"), Small), text);
    const std::vector<uint8_t> bytes = ReadFileBytes(Path("ok"), Small);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
    std::ofstream(Path("empty"));
    EXPECT_EQ(ReadFileText(Path("empty"), Small), "");
}

TEST_F(InputFileTest, WhatIsNoRegularFileOrTooLargeIsRefusedWithItsReason) {
    using Refusal = InputFileError::Refusal;
    fs::create_directories(folder / "folder");
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);  // nothing writes to it: reading it would wait for ever
    std::ofstream(Path("large")) << std::string(1001, 'x');
    fs::create_symlink(folder / "loop-b", folder / "loop-a");
    fs::create_symlink(folder / "loop-a", folder / "loop-b");
    fs::create_symlink("/dev/zero", folder / "zero");
    {
        std::ofstream(Path("sparse"));
        fs::resize_file(folder / "sparse", uint64_t{3} << 30);  // 3 GiB of nothing: refused before a byte is read
    }
    const struct {
        const char* name;
        Refusal why;
        int systemError;
        std::string reason;
    } cases[] = {
        {"missing", Refusal::System, ENOENT, "No such file or directory"},
        {"folder", Refusal::NotRegular, 0, "it is a folder, not a file"},
        {"fifo", Refusal::NotRegular, 0, "it is a FIFO (named pipe), not a regular file"},
        {"zero", Refusal::NotRegular, 0, "it is a device, not a regular file"},
        {"loop-a", Refusal::System, ELOOP, "Too many levels of symbolic links"},
        {"large", Refusal::TooLarge, 0, "it holds 1001 bytes, more than the 1000 bytes a test file may take"},
        {"sparse", Refusal::TooLarge, 0, "it holds 3 GiB, more than the 1000 bytes a test file may take"},
    };
    for (const auto& c : cases) {
        try {
            ReadFileText(Path(c.name), Small);
            ADD_FAILURE() << c.name << " was read";
        } catch (const InputFileError& error) {
            EXPECT_EQ(error.Why, c.why) << c.name;
            EXPECT_EQ(error.SystemError, c.systemError) << c.name;
            EXPECT_EQ(error.Reason, c.reason) << c.name;
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + Path(c.name) + ": " + c.reason);
            EXPECT_EQ(error.Path(), Path(c.name));
        }
    }
}

// A file named on the command line may be a pipe the user writes into: read as a stream,
// and still no further than the limit.
TEST_F(InputFileTest, StreamsWhereTheCallerTakesThem) {
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
    std::thread writer([this] { std::ofstream(Path("fifo")) << "{\"steps\": []}"; });
    EXPECT_EQ(ReadFileText(Path("fifo"), Small, InputFile::Accept::Streams), "{\"steps\": []}");
    writer.join();
    try {
        ReadFileText("/dev/zero", Small, InputFile::Accept::Streams);
        ADD_FAILURE() << "an endless device was read";
    } catch (const InputFileError& error) {
        EXPECT_EQ(error.Why, InputFileError::Refusal::TooLarge);
        EXPECT_EQ(error.Reason, "it has grown past the 1000 bytes a test file may take");
    }
    EXPECT_THROW(ReadFileText(folder.string(), Small, InputFile::Accept::Streams), InputFileError);  // never a folder
}

TEST(ByteSizeText, WholeUnitsBareAndTheRestWithOneDecimal) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {1, "1 byte"},         {1023, "1023 bytes"},          {1024, "1 KiB"},
        {1536, "1.5 KiB"},     {uint64_t{64} << 20, "64 MiB"}, {(uint64_t{3} << 30) + 1, "3.0 GiB"},
        {uint64_t{1} << 40, "1 TiB"},
    };
    for (const auto& c : cases) EXPECT_EQ(ByteSizeText(c.bytes), c.text) << c.bytes;
}

TEST(Hash64Stream, PiecesOfAnySizeHashAsTheWhole) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>(i * 7 + 3);
    for (size_t length : {0u, 1u, 31u, 32u, 33u, 100u, 300u}) {
        for (size_t piece : {1u, 5u, 31u, 32u, 64u}) {
            Hash64Stream stream;
            for (size_t at = 0; at < length; at += piece) stream.Add(text.data() + at, std::min(piece, length - at));
            EXPECT_EQ(stream.Value(), Hash64(text.data(), length)) << length << " bytes in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace kelvane
