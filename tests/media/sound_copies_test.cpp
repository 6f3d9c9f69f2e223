// Which copy of a wave sounds when the game plays it, and what the mixer then hears.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "SoundTestSupport.h"
#include "media/Mixer.h"
#include "media/Sound.h"

namespace kelvane {
namespace {

using soundtest::ConstantWave;
using soundtest::MakeItem;
using soundtest::ManualOutput;

constexpr size_t WaveFrames = 100;

class WaveCopies : public ::testing::Test {
protected:
    void SetUp() override {
        waves.Items.push_back(MakeItem(ConstantWave(WaveFrames, 1000)));
        device.InitializeSound();
    }
    void TearDown() override { EXPECT_EQ(output.depth, 0) << "locks and unlocks do not pair up"; }

    std::vector<const Voice*> Copies(int32_t index = 0) const {
        std::vector<const Voice*> copies;
        for (int32_t c = 0; c < waves.CopyCount(index); ++c) copies.push_back(waves.CopyVoice(index, c));
        return copies;
    }

    ManualOutput output;
    TSoundDevice device{&output};
    TWaveList waves{&device};
};

TEST_F(WaveCopies, AtTheLimitTheOldestCopyIsCutOffAndMovedLast) {
    waves.SetMaxPlayingCount(0, 2);
    waves.Play(0);
    output.Advance(10);
    waves.Play(0);
    output.Advance(10);
    const std::vector<const Voice*> first = Copies();
    ASSERT_EQ(first.size(), 2u);
    const Voice* a = first[0];
    const Voice* b = first[1];
    EXPECT_EQ(a->Position, 20u);
    EXPECT_EQ(b->Position, 10u);

    waves.Play(0);  // third: restarts a and puts it last
    EXPECT_EQ(Copies(), (std::vector<const Voice*>{b, a}));
    EXPECT_EQ(a->Position, 0u);
    EXPECT_EQ(b->Position, 10u);
    output.Advance(10);

    waves.Play(0);  // fourth: now b is the oldest
    EXPECT_EQ(Copies(), (std::vector<const Voice*>{a, b}));
    EXPECT_EQ(b->Position, 0u);
    EXPECT_EQ(a->Position, 10u);
    EXPECT_EQ(waves.SoundingCount(0), 2);
    EXPECT_EQ(waves.PlayCount(0), 4u);
}

TEST_F(WaveCopies, WithoutALimitEveryQuickPlayGetsItsOwnCopy) {
    waves.Play(0);
    output.Advance(10);
    for (int i = 1; i < 10; ++i) waves.Play(0);
    EXPECT_EQ(waves.CopyCount(0), 10);
    EXPECT_EQ(waves.SoundingCount(0), 10);
    // All ten are heard at once.
    EXPECT_EQ(output.HeardNow()[0], 10 * 1000);

    // The first copy ends first; the next play takes it rather than making an eleventh.
    output.Advance(static_cast<int>(WaveFrames - 11 - Limiter::LatencyFrames));
    const Voice* first = waves.CopyVoice(0, 0);
    EXPECT_FALSE(first->Sounding());
    EXPECT_EQ(waves.SoundingCount(0), 9);
    waves.Play(0);
    EXPECT_EQ(waves.CopyCount(0), 10);
    EXPECT_TRUE(first->Sounding());
    EXPECT_EQ(first->Position, 0u);

    // Once all have ended, plays take them in list order from the first.
    output.Advance(static_cast<int>(WaveFrames));
    EXPECT_EQ(waves.SoundingCount(0), 0);
    waves.Play(0);
    waves.Play(0);
    EXPECT_EQ(waves.CopyCount(0), 10);
    EXPECT_TRUE(waves.CopyVoice(0, 0)->Sounding());
    EXPECT_TRUE(waves.CopyVoice(0, 1)->Sounding());
    EXPECT_FALSE(waves.CopyVoice(0, 2)->Sounding());
}

TEST_F(WaveCopies, ALoopedWaveRestartsItsOneBufferAndNeverSoundsTwice) {
    waves.SetLooped(0, true);
    waves.Play(0);
    output.Advance(static_cast<int>(WaveFrames) + 5);
    const Voice* main = waves.MainVoice(0);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->Sounding());
    EXPECT_EQ(main->Position, 5u);
    waves.Play(0);
    EXPECT_EQ(main->Position, 0u);
    EXPECT_EQ(waves.SoundingCount(0), 1);
    EXPECT_EQ(waves.CopyCount(0), 0);
    EXPECT_EQ(output.HeardNow()[0], 1000);
    // Switching looping off stops it.
    waves.SetLooped(0, false);
    EXPECT_EQ(waves.SoundingCount(0), 0);
}

TEST_F(WaveCopies, ChangingLoopedStopsEverythingAndChangingTheLimitFreesCopies) {
    waves.Play(0);
    waves.Play(0);
    waves.SetLooped(0, false);  // no change: keeps sounding
    EXPECT_EQ(waves.SoundingCount(0), 2);
    waves.SetLooped(0, true);
    EXPECT_EQ(waves.SoundingCount(0), 0);
    EXPECT_EQ(waves.CopyCount(0), 2);
    waves.SetLooped(0, false);

    waves.SetMaxPlayingCount(0, -3);  // counts as 0, the value it has: nothing changes
    EXPECT_EQ(waves.CopyCount(0), 2);
    waves.SetMaxPlayingCount(0, 3);
    EXPECT_EQ(waves.CopyCount(0), 0);
    EXPECT_EQ(waves.Item(0).MaxPlayingCount, 3);
    waves.SetMaxPlayingCount(0, -1);
    EXPECT_EQ(waves.Item(0).MaxPlayingCount, 0);
    // The freed copies' voices are gone from the mixer; only the main buffer stays.
    EXPECT_EQ(device.GetMixer().VoiceCount(), 1u);
    EXPECT_EQ(output.Advance(1)[0], 0);
}

TEST_F(WaveCopies, ItemsThatCannotSoundAreCountedButSilent) {
    WaveData malformed = ConstantWave(50, 1000);
    malformed.Format[0] = 3;  // not integer PCM
    waves.Items.push_back(MakeItem(malformed));
    waves.Items.push_back(MakeItem(WaveData{}));
    device.InitializeSound();
    for (int32_t index : {1, 2}) {
        waves.Play(index);
        EXPECT_FALSE(waves.ItemInitialized(index));
        EXPECT_EQ(waves.CopyCount(index), 0);
        EXPECT_EQ(waves.PlayCount(index), 1u);
    }
    EXPECT_EQ(output.Advance(4), std::vector<int16_t>(8, 0));

    // An item put into the list after it was initialised waits for the next initialisation.
    waves.Items.push_back(MakeItem(ConstantWave(50, 1000)));
    waves.Play(3);
    EXPECT_FALSE(waves.ItemInitialized(3));
    EXPECT_EQ(output.Advance(1)[0], 0);
}

TEST_F(WaveCopies, BadIndicesAreListErrors) {
    for (int32_t index : {-1, 1, 100}) {
        try {
            waves.Play(index);
            FAIL() << "no error for " << index;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(index) + ")");
        }
        EXPECT_THROW(waves.Item(index), std::runtime_error);
        EXPECT_THROW(waves.PlayCount(index), std::runtime_error);
        EXPECT_THROW(waves.SetLooped(index, true), std::runtime_error);
    }
}

TEST(SoundDevice, PlayBeforeTheDeviceOpensDoesNothing) {
    ManualOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(MakeItem(ConstantWave(WaveFrames, 1000)));
    waves.Play(0);
    EXPECT_EQ(waves.PlayCount(0), 1u);
    EXPECT_FALSE(waves.ItemInitialized(0));
    EXPECT_EQ(output.opens, 0);

    device.InitializeSound();
    EXPECT_TRUE(waves.ItemInitialized(0));
    waves.Play(0);
    EXPECT_EQ(output.HeardNow()[1], 1000);
    EXPECT_EQ(waves.PlayCount(0), 2u);
}

TEST(SoundDevice, OpeningAgainClosesFirstAndStartsFresh) {
    ManualOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(MakeItem(ConstantWave(WaveFrames, 1000)));
    device.InitializeSound();
    waves.Play(0);
    device.InitializeSound();
    EXPECT_EQ(output.opens, 2);
    EXPECT_EQ(output.closes, 1);
    EXPECT_EQ(waves.CopyCount(0), 0);
    EXPECT_EQ(output.Advance(1)[0], 0);
    EXPECT_EQ(device.GetMixer().VoiceCount(), 1u);
}

TEST(SoundDevice, TheOutputsErrorIsPassedOn) {
    ManualOutput output;
    output.failure = "Sound device cannot be opened: no card";
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(MakeItem(ConstantWave(WaveFrames, 1000)));
    try {
        device.InitializeSound();
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Sound device cannot be opened: no card");
    }
    EXPECT_FALSE(device.Initialized());
    waves.Play(0);
    EXPECT_FALSE(waves.ItemInitialized(0));

    TSoundDevice silent(nullptr);
    EXPECT_THROW(silent.InitializeSound(), std::runtime_error);
    EXPECT_FALSE(silent.Initialized());
}

TEST(SoundDevice, ResamplesItemsToTheDeviceRate) {
    ManualOutput output;
    output.format = AudioFormat{22050, 1};
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(MakeItem(ConstantWave(WaveFrames, -500)));
    device.InitializeSound();
    ASSERT_NE(waves.MainVoice(0), nullptr);
    EXPECT_EQ(waves.MainVoice(0)->Frames, WaveFrames / 2);
    waves.Play(0);
    EXPECT_EQ(output.HeardNow(), std::vector<int16_t>{-500});
}

TEST(SoundDevice, EitherCanGoFirst) {
    ManualOutput output;
    auto waves = std::make_unique<TWaveList>();
    {
        TSoundDevice device(&output);
        TWaveList bound(&device);
        bound.Items.push_back(MakeItem(ConstantWave(WaveFrames, 1000)));
        device.InitializeSound();
        bound.Play(0);
        auto early = std::make_unique<TSoundDevice>(&output);
        waves = std::make_unique<TWaveList>(early.get());
        waves->Items.push_back(MakeItem(ConstantWave(WaveFrames, 1000)));
        early->InitializeSound();
        waves->Play(0);
        early.reset();  // the list outlives its device
    }
    waves->Play(0);
    EXPECT_FALSE(waves->ItemInitialized(0));
    EXPECT_EQ(output.depth, 0);
}

// Pulls from its own thread, as a sound card's callback does.
class ThreadedOutput : public IAudioOutput {
public:
    ~ThreadedOutput() override { Close(); }
    AudioFormat Open(PullFunction pull) override {
        pull_ = std::move(pull);
        running_ = true;
        thread_ = std::thread([this] {
            std::vector<int16_t> block(64 * 2);
            while (running_) {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    pull_(block.data(), 64);
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        return AudioFormat{44100, 2};
    }
    void Close() override {
        running_ = false;
        if (thread_.joinable()) thread_.join();
    }
    void Lock() override { mutex_.lock(); }
    void Unlock() override { mutex_.unlock(); }

private:
    PullFunction pull_;
    std::mutex mutex_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

TEST(SoundDevice, WaitingPlayReturnsOnceTheCopyHasStopped) {
    ThreadedOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(MakeItem(ConstantWave(441, 1000)));  // 10 ms
    device.InitializeSound();
    waves.Play(0, true);
    EXPECT_EQ(waves.SoundingCount(0), 0);
    EXPECT_EQ(waves.CopyCount(0), 1);
    for (int i = 0; i < 50; ++i) waves.Play(0);
    EXPECT_GE(waves.CopyCount(0), 1);
    device.Finalize();
}

TEST(SoundDevice, WaitingOnAnOutputThatDoesNotPullEnds) {
    ManualOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(MakeItem(ConstantWave(441, 1000)));
    device.InitializeSound();
    waves.Play(0, true);
    // Nothing pulled, so the copy is still where it started, and the call came back anyway.
    EXPECT_EQ(waves.SoundingCount(0), 1);
    EXPECT_EQ(waves.CopyVoice(0, 0)->Position, 0u);
}

}  // namespace
}  // namespace kelvane
