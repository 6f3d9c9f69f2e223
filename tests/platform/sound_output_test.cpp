// The two sound outputs the game can be given: SDL's device and the headless stand-in.

#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "media/Limiter.h"
#include "media/Sound.h"
#include "platform/headless/HeadlessAudioOutput.h"
#include "platform/sdl/SdlAudioOutput.h"

namespace kelvane {
namespace {

WaveData EightBitMono(size_t frames, uint8_t value, uint32_t rate) {
    WaveData wave;
    wave.Format = {1, 0, 1, 0, static_cast<uint8_t>(rate), static_cast<uint8_t>(rate >> 8),
                   static_cast<uint8_t>(rate >> 16), 0, static_cast<uint8_t>(rate),
                   static_cast<uint8_t>(rate >> 8), static_cast<uint8_t>(rate >> 16), 0, 1, 0, 8, 0};
    wave.Samples.assign(frames, value);
    return wave;
}

TEST(HeadlessAudioOutput, TimeMovesOnlyWithAdvance) {
    HeadlessAudioOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    auto item = std::make_unique<TWaveCollectionItem>();
    item->Wave = EightBitMono(100, 192, 22050);  // 16384, 200 frames at the device rate
    waves.Items.push_back(std::move(item));
    device.InitializeSound();
    EXPECT_TRUE(output.IsOpen());
    EXPECT_EQ(device.Format().Frequency, 44100);
    EXPECT_EQ(device.Format().Channels, 2);

    waves.Play(0);
    waves.Play(0);
    output.Advance(150);
    EXPECT_EQ(output.LastBlock().size(), 300u);
    // Two copies of 16384 would reach full scale: the limiter holds them at its threshold.
    EXPECT_EQ(output.PeakAbs(), Limiter::Threshold);
    EXPECT_EQ(waves.SoundingCount(0), 2);
    output.Advance(60);
    EXPECT_EQ(waves.SoundingCount(0), 0);
    // Their last frame, 199, is heard Limiter::LatencyFrames later.
    constexpr int Latency = static_cast<int>(Limiter::LatencyFrames);
    output.Advance(Latency);
    EXPECT_EQ(output.LastBlock()[2 * (199 + Latency - 210)], Limiter::Threshold);
    EXPECT_EQ(output.LastBlock()[2 * (200 + Latency - 210)], 0);
    EXPECT_EQ(output.FramesPulled(), 210u + Latency);

    device.Finalize();
    EXPECT_FALSE(output.IsOpen());
    output.Advance(10);
    EXPECT_EQ(output.PeakAbs(), 0);
}

TEST(HeadlessAudioOutput, AFailingOpenIsTheDevicesError) {
    HeadlessAudioOutput output;
    output.FailOpenWith("Sound device cannot be opened: none here");
    TSoundDevice device(&output);
    try {
        device.InitializeSound();
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Sound device cannot be opened: none here");
    }
    EXPECT_FALSE(device.Initialized());
}

// SDL's driver is chosen through the environment when its audio starts.
class SdlAudio : public ::testing::Test {
protected:
    void SetUp() override {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        saved_ = driver ? driver : "";
        hadDriver_ = driver != nullptr;
    }
    void TearDown() override {
        if (hadDriver_)
            setenv("SDL_AUDIODRIVER", saved_.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }

private:
    std::string saved_;
    bool hadDriver_ = false;
};

TEST_F(SdlAudio, TheDummyDevicePullsFromItsCallback) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudioOutput output;
    std::atomic<int> framesPulled{0};
    AudioFormat format;
    try {
        format = output.Open([&framesPulled](int16_t* samples, int frames) {
            samples[0] = 1;
            framesPulled += frames;
        });
    } catch (const std::runtime_error& error) {
        GTEST_SKIP() << "SDL has no dummy audio driver here: " << error.what();
    }
    EXPECT_GT(format.Frequency, 0);
    EXPECT_EQ(format.Channels, 2);
    // The callback runs on SDL's thread; give it up to five seconds to come round.
    for (int i = 0; i < 500 && framesPulled == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(framesPulled.load(), 0);
    output.Lock();
    const int whileLocked = framesPulled;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(framesPulled.load(), whileLocked);
    output.Unlock();
    output.Close();
    const int afterClose = framesPulled;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(framesPulled.load(), afterClose);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

TEST_F(SdlAudio, ADriverThatCannotOpenGivesTheSoundDeviceError) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioOutput output;
    try {
        output.Open([](int16_t*, int) {});
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("Sound device cannot be opened: ", 0), 0u) << message;
        EXPECT_GT(message.size(), std::string("Sound device cannot be opened: ").size());
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    output.Close();  // harmless when nothing is open
}

}  // namespace
}  // namespace kelvane
