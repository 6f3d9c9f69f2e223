// A wave list filled from a sound archive on disk.

#include <gtest/gtest.h>

#include <filesystem>

#include "SoundTestSupport.h"
#include "media/Archive.h"
#include "media/Mixer.h"
#include "media/Sound.h"

namespace kelvane {
namespace {

TEST(WaveListLoad, ReplacesTheItemsAndInitialisesThemOnAnOpenDevice) {
    WaveCollection stored;
    stored.Items.push_back(soundtest::MakeItem(soundtest::ConstantWave(100, 700)));
    stored.Items.push_back(soundtest::MakeItem(soundtest::ConstantWave(50, 300), 2));
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "kelvane_sound_load_test.dxg";
    WriteWholeFile(path.string(), WriteWaveArchive(stored));

    soundtest::ManualOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(soundtest::MakeItem(soundtest::ConstantWave(10, 1)));
    device.InitializeSound();
    waves.Play(0);
    waves.LoadFromFile(path.string());
    std::filesystem::remove(path);

    ASSERT_EQ(waves.Count(), 2);
    EXPECT_EQ(waves.Item(1).MaxPlayingCount, 2);
    EXPECT_EQ(waves.PlayCount(0), 0u);
    EXPECT_TRUE(waves.ItemInitialized(0));
    EXPECT_TRUE(waves.ItemInitialized(1));
    EXPECT_EQ(device.GetMixer().VoiceCount(), 2u);  // the old item's voices are gone
    waves.Play(0);
    waves.Play(1);
    EXPECT_EQ(output.HeardNow()[0], 1000);
    EXPECT_EQ(output.depth, 0);
}

TEST(WaveListLoad, AMissingFileLeavesTheListAsItWas) {
    soundtest::ManualOutput output;
    TSoundDevice device(&output);
    TWaveList waves(&device);
    waves.Items.push_back(soundtest::MakeItem(soundtest::ConstantWave(10, 1)));
    device.InitializeSound();
    EXPECT_THROW(waves.LoadFromFile("/nonexistent/kelvane/SFX.dxg"), std::runtime_error);
    ASSERT_EQ(waves.Count(), 1);
    EXPECT_TRUE(waves.ItemInitialized(0));
}

}  // namespace
}  // namespace kelvane
