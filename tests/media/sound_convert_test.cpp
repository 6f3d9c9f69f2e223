// Conversion of stored waves to the device format, once per item.

#include <gtest/gtest.h>

#include "SoundTestSupport.h"
#include "media/WaveConvert.h"

namespace kelvane {
namespace {

using soundtest::FmtChunk;

TEST(WaveConvert, EightBitMonoAt22050IsDoubledInterpolatedAndSpreadToStereo) {
    WaveData wave;
    wave.Format = FmtChunk(1, 1, 22050, 1, 8);
    wave.Samples = {128, 192, 64, 255};
    const std::vector<int16_t> out = ConvertWave(wave, AudioFormat{44100, 2});
    // 0, 16384, -16384, 32512 with the midpoints between them; the last frame holds.
    const std::vector<int16_t> frames = {0, 8192, 16384, 0, -16384, 8064, 32512, 32512};
    ASSERT_EQ(out.size(), frames.size() * 2);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(out[2 * i], frames[i]) << i;
        EXPECT_EQ(out[2 * i + 1], frames[i]) << i;
    }
}

TEST(WaveConvert, SixteenBitStereoAtTheDeviceRateIsCopied) {
    WaveData wave;
    wave.Format = FmtChunk(1, 2, 44100, 4, 16);
    wave.Samples = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x99};  // trailing partial frame
    EXPECT_EQ(ConvertWave(wave, AudioFormat{44100, 2}), (std::vector<int16_t>{1, -1, -32768, 32767}));
    // A mono device hears the average of both sides.
    EXPECT_EQ(ConvertWave(wave, AudioFormat{44100, 1}), (std::vector<int16_t>{0, 0}));
}

TEST(WaveConvert, LengthFollowsTheRateRatio) {
    struct Case {
        uint32_t rate;
        size_t inFrames;
        int deviceRate;
        size_t outFrames;
    };
    const Case cases[] = {
        {48000, 480, 44100, 441}, {11025, 100, 44100, 400}, {44100, 300, 22050, 150},
        {8000, 3, 48000, 18},     {96000, 1, 44100, 1},  // shorter than one device frame still sounds
    };
    for (const Case& c : cases) {
        const WaveData wave = soundtest::ConstantWave(c.inFrames, 1234, c.rate);
        const std::vector<int16_t> out = ConvertWave(wave, AudioFormat{c.deviceRate, 2});
        EXPECT_EQ(out.size(), c.outFrames * 2) << c.rate << " -> " << c.deviceRate;
        // A constant wave stays constant through interpolation.
        for (int16_t sample : out) ASSERT_EQ(sample, 1234);
    }
}

TEST(WaveConvert, MalformedOrUnsupportedWavesGiveNoSamples) {
    struct Case {
        const char* what;
        std::vector<uint8_t> format;
        size_t dataBytes;
        AudioFormat device;
    };
    const AudioFormat device{44100, 2};
    std::vector<uint8_t> shortChunk = FmtChunk(1, 1, 44100, 2, 16);
    shortChunk.resize(14);
    const Case cases[] = {
        {"float samples", FmtChunk(3, 1, 44100, 4, 32), 64, device},
        {"compressed", FmtChunk(2, 1, 44100, 2, 4), 64, device},
        {"no channels", FmtChunk(1, 0, 44100, 2, 16), 64, device},
        {"three channels", FmtChunk(1, 3, 44100, 6, 16), 64, device},
        {"zero rate", FmtChunk(1, 1, 0, 2, 16), 64, device},
        {"zero block align", FmtChunk(1, 1, 44100, 0, 16), 64, device},
        {"block smaller than a frame", FmtChunk(1, 2, 44100, 2, 16), 64, device},
        {"24-bit", FmtChunk(1, 1, 44100, 3, 24), 64, device},
        {"12-bit", FmtChunk(1, 1, 44100, 2, 12), 64, device},
        {"chunk too short", shortChunk, 64, device},
        {"no format", {}, 64, device},
        {"no samples", FmtChunk(1, 1, 44100, 2, 16), 0, device},
        {"less than one frame", FmtChunk(1, 2, 44100, 4, 16), 3, device},
        {"device without rate", FmtChunk(1, 1, 44100, 2, 16), 64, AudioFormat{0, 2}},
        {"device without channels", FmtChunk(1, 1, 44100, 2, 16), 64, AudioFormat{44100, 0}},
        // One sample a second would become hours at the device rate.
        {"absurd length", FmtChunk(1, 1, 1, 1, 8), 4096, device},
    };
    for (const Case& c : cases) {
        WaveData wave;
        wave.Format = c.format;
        wave.Samples.assign(c.dataBytes, 0x40);
        EXPECT_TRUE(ConvertWave(wave, c.device).empty()) << c.what;
    }
}

TEST(WaveConvert, PaddedBlocksSkipThePadding) {
    WaveData wave;
    wave.Format = FmtChunk(1, 1, 44100, 4, 16);  // two bytes of sample, two of padding
    wave.Samples = {0x10, 0x00, 0xEE, 0xEE, 0x20, 0x00, 0xEE, 0xEE};
    EXPECT_EQ(ConvertWave(wave, AudioFormat{44100, 1}), (std::vector<int16_t>{16, 32}));
}

}  // namespace
}  // namespace kelvane
