// RIFF WAVE payloads of sound items.

#include <gtest/gtest.h>

#include <stdexcept>

#include "media/WaveFile.h"
#include "media/archive_bytes.h"

namespace kelvane {
namespace {

using test::Bytes;

TEST(WaveFile, OtherChunksAndOddSizesAreWalkedOver) {
    // fmt, an odd-sized LIST chunk with no pad byte, then data.
    const WaveData wave = ReadWaveFile(test::SmallWave({1, 2, 3}));
    EXPECT_EQ(wave.Format, Bytes().U16(1).U16(1).U32(11025).U32(11025).U16(1).U16(8).b);
    EXPECT_EQ(wave.Samples, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(WaveFile, ChunkOrderAndEnds) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::vector<uint8_t> format, samples;
    };
    const Case cases[] = {
        {"data before fmt, RIFF size ignored",
         Bytes()
             .Raw("RIFF")
             .U32(999999)
             .Raw("WAVE")
             .Raw("data")
             .U32(2)
             .U8s({7, 8})
             .Raw("fmt ")
             .U32(1)
             .U8(5)
             .b,
         {5},
         {7, 8}},
        {"data running past the end keeps what is there",
         Bytes()
             .Raw("RIFF")
             .U32(0)
             .Raw("WAVE")
             .Raw("fmt ")
             .U32(2)
             .U8s({1, 2})
             .Raw("data")
             .U32(100)
             .U8s({9, 9, 9})
             .b,
         {1, 2},
         {9, 9, 9}},
        {"a trailing scrap shorter than a chunk header",
         Bytes().Raw("RIFF").U32(0).Raw("WAVE").Raw("data").U32(1).U8(4).Raw("junk").b,
         {},
         {4}},
        {"no chunks", Bytes().Raw("RIFF").U32(0).Raw("WAVE").b, {}, {}},
        {"the last data chunk wins",
         Bytes().Raw("RIFF").U32(0).Raw("WAVE").Raw("data").U32(1).U8(1).Raw("data").U32(1).U8(2).b,
         {},
         {2}},
    };
    for (const Case& k : cases) {
        const WaveData wave = ReadWaveFile(k.file);
        EXPECT_EQ(wave.Format, k.format) << k.what;
        EXPECT_EQ(wave.Samples, k.samples) << k.what;
    }
}

TEST(WaveFile, NotAWave) {
    const std::vector<std::vector<uint8_t>> faults = {
        {},
        Bytes().Raw("RIFF").U32(0).Raw("WAV").b,
        Bytes().Raw("RIFX").U32(0).Raw("WAVE").b,
        Bytes().Raw("RIFF").U32(0).Raw("AVI ").b,
        Bytes().Raw("riff").U32(0).Raw("wave").b,
    };
    for (size_t i = 0; i < faults.size(); ++i) {
        try {
            ReadWaveFile(faults[i]);
            ADD_FAILURE() << "no error for case " << i;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Wave is invalid") << i;
        }
    }
}

TEST(WaveFile, BuiltFilesReadBack) {
    const std::vector<uint8_t> format = Bytes().U16(1).U16(2).U32(22050).U32(88200).U16(4).U16(16).U16(0).b;
    const std::vector<uint8_t> samples{1, 2, 3, 4, 5};  // odd: no pad byte is written after it
    const std::vector<uint8_t> file = BuildWaveFile(format, samples);
    EXPECT_EQ(file.size(), 12 + 8 + format.size() + 8 + samples.size());
    EXPECT_EQ(file[4] | (file[5] << 8), static_cast<int>(file.size() - 8));
    const WaveData wave = ReadWaveFile(file);
    EXPECT_EQ(wave.Format, format);
    EXPECT_EQ(wave.Samples, samples);
}

}  // namespace
}  // namespace kelvane
