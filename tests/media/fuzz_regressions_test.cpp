// Every committed seed and every input that once crashed a fuzz target goes through
// the same entry point as under libFuzzer; none may raise a finding or an unexpected
// error. Crash inputs live in fuzz/regressions/<target>/, seeds in fuzz/corpus/<target>/.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FuzzEntries.h"
#include "media/Archive.h"
#include "targets/FuzzSupport.h"

namespace kelvane::fuzz {
namespace {

namespace fs = std::filesystem;

struct Target {
    const char* Name;
    void (*Entry)(const uint8_t*, size_t);
};

const Target Targets[] = {
    {"picture_archive", FuzzPictureArchive},
    {"wave_archive", FuzzWaveArchive},
    {"dib", FuzzDib},
    {"bmp", FuzzBmp},
    {"wave", FuzzWave},
    {"definition", FuzzDefinition},
    {"console", FuzzConsole},
    {"replay", FuzzReplay},
    {"recording", FuzzRecording},
    {"check", FuzzCheck},
};

std::vector<fs::path> InputsIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

// The entry's verdict on one input: empty when it passed.
std::string Verdict(const Target& target, const fs::path& file) {
    const std::vector<uint8_t> bytes = ReadWholeFile(file.string());
    try {
        target.Entry(bytes.data(), bytes.size());
    } catch (const Finding& finding) {
        return "finding: " + finding.What;
    } catch (const std::exception& error) {
        return std::string("unexpected exception: ") + error.what();
    } catch (...) {
        return "unexpected exception of unknown type";
    }
    return {};
}

class FuzzInputs : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzInputs, SeedsAndRegressionsPass) {
    const fs::path root = fs::path(KELVANE_SOURCE_DIR) / "fuzz";
    const std::vector<fs::path> seeds = InputsIn(root / "corpus" / GetParam().Name);
    EXPECT_FALSE(seeds.empty()) << "no seeds for " << GetParam().Name;
    std::vector<fs::path> inputs = seeds;
    for (const fs::path& crash : InputsIn(root / "regressions" / GetParam().Name)) inputs.push_back(crash);
    for (const fs::path& input : inputs) EXPECT_EQ(Verdict(GetParam(), input), "") << input;
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, FuzzInputs, ::testing::ValuesIn(Targets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.Name);
                         });

// The entries let through only the messages their readers are documented to throw.
TEST(FuzzEntries, ExpectedMessagesAreRecognised) {
    struct Case {
        const char* Message;
        bool Archive;  // a picture archive error
        bool Dib;
    };
    const Case cases[] = {
        {"Property Fo\x01o does not exist", true, false}, {"Property  does not exist", true, false},
        {"Bitcount in invalid (7)", true, true},          {"Stream read error", true, true},
        {"Bitmap image is not valid", true, false},       {"Wave is invalid", false, false},
        {"List index out of bounds (3)", false, false},   {"Stream read error!", false, false},
        {"Property does not exist", false, false},        {"", false, false},
        {"The pictures of this archive take more than 512 MiB when decoded", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageMatches(c.Message, PictureArchiveErrors), c.Archive) << c.Message;
        EXPECT_EQ(MessageMatches(c.Message, DibErrors), c.Dib) << c.Message;
    }
}

// A refused or empty input is no finding; an error outside the list leaves the entry.
TEST(FuzzEntries, RefusedInputsPassAndOtherErrorsLeave) {
    const std::vector<uint8_t> junk = {'B', 'M', 0xFF, 0x00, 'R', 'I', 'F', 'F', 0x0A};
    for (const Target& target : Targets) {
        EXPECT_NO_THROW(target.Entry(junk.data(), junk.size())) << target.Name;
        EXPECT_NO_THROW(target.Entry(nullptr, 0)) << target.Name;
    }
    try {
        throw std::runtime_error("List index out of bounds (3)");
    } catch (const std::runtime_error& error) {
        EXPECT_THROW(ExpectMessage(error, WaveArchiveErrors), std::runtime_error);
    }
}

}  // namespace
}  // namespace kelvane::fuzz
