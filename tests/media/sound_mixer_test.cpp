// The mixer as a function: voices in, one block of samples out, through the limiter.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "media/Archive.h"
#include "media/Mixer.h"
#include "media/WaveConvert.h"

namespace kelvane {
namespace {

constexpr int Latency = static_cast<int>(Limiter::LatencyFrames);

Voice PlayingVoice(const std::vector<int16_t>& samples, int channels, bool looping = false) {
    Voice voice;
    voice.Samples = samples.data();
    voice.Frames = samples.size() / channels;
    voice.Start(looping);
    return voice;
}

// What is heard of the next `frames` frames of the voices: the mixer's output arrives
// Latency frames late, so that many more are mixed and the first ones dropped.
std::vector<int16_t> Heard(Mixer& mixer, int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames + Latency) * mixer.Channels(), 7);
    mixer.Mix(out.data(), frames + Latency);
    return std::vector<int16_t>(out.begin() + static_cast<std::ptrdiff_t>(Latency * mixer.Channels()), out.end());
}

TEST(Mixer, SumsVoicesAndLimitsOnlyWhatWouldClip) {
    // Two voices: quiet sums, then one frame whose sum would pass full scale.
    std::vector<int16_t> first(400 * 2, 1000), second(400 * 2, 0);
    for (size_t i = 0; i < second.size(); ++i) second[i] = static_cast<int16_t>(i % 2 ? -3000 : 2000);
    second[300 * 2] = 32767;  // left: 33767 in all
    Voice a = PlayingVoice(first, 2);
    Voice b = PlayingVoice(second, 2);
    Mixer mixer;
    mixer.SetChannels(2);
    mixer.Attach(&a);
    mixer.Attach(&b);
    mixer.Attach(&a);  // attaching twice does not play it twice
    const std::vector<int16_t> out = Heard(mixer, 400);
    // Far from the loud frame the sums come through untouched.
    for (int f = 0; f < 300 - Latency - 1; ++f) {
        ASSERT_EQ(out[f * 2], 3000) << f;
        ASSERT_EQ(out[f * 2 + 1], -2000) << f;
    }
    // The loud frame is brought down to the threshold, both channels alike, and the gain
    // falls smoothly over the frames before it instead of jumping.
    EXPECT_LE(out[300 * 2], Limiter::Threshold);
    EXPECT_GE(out[300 * 2], Limiter::Threshold - 1);
    EXPECT_NEAR(out[300 * 2 + 1], -2000.0 * Limiter::Threshold / 33767, 2);
    for (int f = 300 - Latency; f < 300; ++f) {
        ASSERT_LE(out[f * 2], out[(f - 1) * 2]) << f;
        ASSERT_GT(out[f * 2], 3000 * Limiter::Threshold / 33767 - 1) << f;
    }
}

TEST(Mixer, OneShotVoiceStopsAtItsEndAndLeavesSilence) {
    const std::vector<int16_t> samples = {1, 2, 3};
    Voice voice = PlayingVoice(samples, 1);
    Mixer mixer;
    mixer.SetChannels(1);
    mixer.Attach(&voice);
    std::vector<int16_t> out = Heard(mixer, 3);
    EXPECT_EQ(out, (std::vector<int16_t>{1, 2, 3}));
    // Its last frame played, the voice no longer sounds.
    EXPECT_FALSE(voice.Sounding());
    EXPECT_EQ(Heard(mixer, 2), (std::vector<int16_t>{0, 0}));

    voice.Start(false);
    EXPECT_EQ(Heard(mixer, 5), (std::vector<int16_t>{1, 2, 3, 0, 0}));
}

TEST(Mixer, LoopingVoiceStartsOverUntilStopped) {
    const std::vector<int16_t> samples = {1, 2, 3};
    Voice voice = PlayingVoice(samples, 1, true);
    Mixer mixer;
    mixer.SetChannels(1);
    mixer.Attach(&voice);
    std::vector<int16_t> out(7);
    mixer.Mix(out.data(), 7);
    EXPECT_TRUE(voice.Sounding());
    voice.Rewind();
    // What it played before the stop still comes out, then silence.
    std::vector<int16_t> rest(Latency + 7);
    mixer.Mix(rest.data(), Latency + 7);
    out.insert(out.end(), rest.begin(), rest.end());
    const std::vector<int16_t> heard(out.begin() + Latency, out.end());
    EXPECT_EQ(heard, (std::vector<int16_t>{1, 2, 3, 1, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Mixer, LongBlocksRunOnWithoutASeam) {
    std::vector<int16_t> ramp(5000 * 2);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i);
    Voice voice = PlayingVoice(ramp, 2);
    Mixer mixer;
    mixer.SetChannels(2);
    mixer.Attach(&voice);
    std::vector<int16_t> out(3000 * 2);
    mixer.Mix(out.data(), 3000);
    std::vector<int16_t> rest(3000 * 2);
    mixer.Mix(rest.data(), 3000);
    out.insert(out.end(), rest.begin(), rest.end());
    for (size_t i = 0; i < out.size(); ++i) {
        const size_t frame = i / 2;
        const size_t source = i - Latency * 2;
        ASSERT_EQ(out[i], frame >= static_cast<size_t>(Latency) && source < ramp.size() ? ramp[source] : 0) << i;
    }
}

TEST(Mixer, DetachedVoicesAndAnUnsetFormatLeaveTheBlockAlone) {
    const std::vector<int16_t> samples = {5, 5};
    Voice voice = PlayingVoice(samples, 1);
    Mixer mixer;
    mixer.Attach(&voice);
    std::vector<int16_t> out(2, 9);
    mixer.Mix(out.data(), 2);  // channels not known yet
    EXPECT_EQ(out, (std::vector<int16_t>{9, 9}));
    EXPECT_EQ(voice.Position, 0u);
    mixer.SetChannels(1);
    mixer.Detach(&voice);
    EXPECT_EQ(Heard(mixer, 2), (std::vector<int16_t>{0, 0}));
    EXPECT_TRUE(voice.Sounding());
}

TEST(Mixer, VolumeScalesTheOutput) {
    const std::vector<int16_t> samples = {10000, -10000, 2000};
    for (const auto& [volume, expected] : std::vector<std::pair<int, std::vector<int16_t>>>{
             {100, {10000, -10000, 2000}}, {50, {5000, -5000, 1000}}, {0, {0, 0, 0}}, {250, {10000, -10000, 2000}},
             {-5, {0, 0, 0}}}) {
        Voice voice = PlayingVoice(samples, 1);
        Mixer mixer;
        mixer.SetChannels(1);
        mixer.SetVolume(volume);
        mixer.Attach(&voice);
        EXPECT_EQ(Heard(mixer, 3), expected) << "volume " << volume;
    }
}

// Peak and RMS of a stretch of samples.
struct Level {
    int peak = 0;
    double rms = 0;
};
Level LevelOf(const int16_t* samples, size_t count) {
    Level level;
    double sum = 0;
    for (size_t i = 0; i < count; ++i) {
        level.peak = std::max(level.peak, std::abs(static_cast<int>(samples[i])));
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    level.rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
    return level;
}
double Decibels(double a, double b) { return 20 * std::log10(a / b); }

TEST(Mixer, ManyLoudSoundsNeverReachFullScaleAndTheGainComesBack) {
    // Forty full-scale square waves starting together, then a quiet tone alone.
    std::vector<int16_t> square(44100);
    for (size_t i = 0; i < square.size(); ++i) square[i] = (i / 50) % 2 ? 32767 : -32768;
    std::vector<Voice> loud(40);
    Mixer mixer;
    mixer.SetChannels(1);
    for (Voice& voice : loud) {
        voice = PlayingVoice(square, 1);
        mixer.Attach(&voice);
    }
    std::vector<int16_t> out(44100 + Latency);
    mixer.Mix(out.data(), static_cast<int>(out.size()));
    const Level burst = LevelOf(out.data(), out.size());
    EXPECT_LE(burst.peak, Limiter::Threshold);
    EXPECT_GE(burst.peak, Limiter::Threshold - 2);
    // Loud moments stay loud: the square comes out near the threshold, not squashed.
    EXPECT_GT(burst.rms, 0.9 * Limiter::Threshold);

    std::vector<int16_t> tone(66150);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<int16_t>(8000 * std::sin(i * 0.05));
    Voice quiet = PlayingVoice(tone, 1);
    mixer.Attach(&quiet);
    std::vector<int16_t> after(tone.size());
    mixer.Mix(after.data(), static_cast<int>(after.size()));
    // The gain comes back within about a tenth of a second; a second later the quiet
    // tone is heard at its own level again.
    for (size_t i = 44100; i + Latency < tone.size(); ++i) ASSERT_NEAR(after[i + Latency], tone[i], 2) << i;
}

std::vector<std::vector<int16_t>> ShippedWaves() {
    WaveCollection waves;
    ReadWaveArchive(ReadWholeFile(std::string(KELVANE_BINARY_DIR) + "/Data/SFX.dxg"), waves);
    std::vector<std::vector<int16_t>> converted;
    for (const auto& item : waves.Items) converted.push_back(ConvertWave(item->Wave, AudioFormat{44100, 2}));
    return converted;
}

TEST(Mixer, EveryShippedWaveStartedOverAndOverInAFewFramesNeverClips) {
    const std::vector<std::vector<int16_t>> waves = ShippedWaves();
    ASSERT_FALSE(waves.empty());
    Mixer mixer;
    mixer.SetChannels(2);
    // Each wave four times, the starts spread over three 40 ms frames.
    constexpr int Starts[] = {0, 1764, 3528, 5292};
    constexpr size_t StartCount = std::size(Starts);
    size_t longest = 0;
    for (const std::vector<int16_t>& wave : waves) longest = std::max(longest, wave.size() / 2);
    std::vector<Voice> voices(waves.size() * StartCount);  // sized once: the mixer keeps pointers
    std::vector<int16_t> out;
    for (size_t s = 0; s < StartCount; ++s) {
        for (size_t w = 0; w < waves.size(); ++w) {
            Voice& voice = voices[w * StartCount + s];
            voice = PlayingVoice(waves[w], 2);
            mixer.Attach(&voice);
        }
        const size_t until = s + 1 < StartCount ? Starts[s + 1] : Starts[s] + longest + Latency;
        std::vector<int16_t> block((until - Starts[s]) * 2);
        mixer.Mix(block.data(), static_cast<int>(until - Starts[s]));
        out.insert(out.end(), block.begin(), block.end());
    }
    const Level level = LevelOf(out.data(), out.size());
    EXPECT_LT(level.peak, 32767);
    EXPECT_LE(level.peak, Limiter::Threshold);
    EXPECT_GT(level.peak, Limiter::Threshold * 9 / 10) << "the heaviest moment should still be loud";
}

TEST(Mixer, ALoneShippedSoundKeepsItsLevelWithinOneDecibel) {
    const std::vector<std::vector<int16_t>> waves = ShippedWaves();
    for (size_t w = 0; w < waves.size(); ++w) {
        const std::vector<int16_t>& wave = waves[w];
        Voice voice = PlayingVoice(wave, 2);
        Mixer mixer;
        mixer.SetChannels(2);
        mixer.Attach(&voice);
        const std::vector<int16_t> out = Heard(mixer, static_cast<int>(wave.size() / 2));
        const Level before = LevelOf(wave.data(), wave.size());
        const Level after = LevelOf(out.data(), out.size());
        EXPECT_LE(std::abs(Decibels(after.peak, before.peak)), 1.0) << "wave " << w;
        EXPECT_LE(std::abs(Decibels(after.rms, before.rms)), 1.0) << "wave " << w;
        EXPECT_LT(after.peak, 32767) << "wave " << w;
    }
}

}  // namespace
}  // namespace kelvane
