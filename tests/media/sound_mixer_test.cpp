// The mixer as a function: voices in, one block of samples out.

#include <gtest/gtest.h>

#include <vector>

#include "media/Mixer.h"

namespace kelvane {
namespace {

Voice PlayingVoice(const std::vector<int16_t>& samples, int channels, bool looping = false) {
    Voice voice;
    voice.Samples = samples.data();
    voice.Frames = samples.size() / channels;
    voice.Start(looping);
    return voice;
}

TEST(Mixer, SumsVoicesAndSaturates) {
    const std::vector<int16_t> loud = {30000, -30000, 100, -100};
    const std::vector<int16_t> louder = {30000, -30000, 200, 32767};
    Voice a = PlayingVoice(loud, 2);
    Voice b = PlayingVoice(louder, 2);
    Mixer mixer;
    mixer.SetChannels(2);
    mixer.Attach(&a);
    mixer.Attach(&b);
    mixer.Attach(&a);  // attaching twice does not play it twice
    std::vector<int16_t> out(4, 7);
    mixer.Mix(out.data(), 2);
    EXPECT_EQ(out, (std::vector<int16_t>{32767, -32768, 300, 32667}));
}

TEST(Mixer, OneShotVoiceStopsAtItsEndAndLeavesSilence) {
    const std::vector<int16_t> samples = {1, 2, 3};
    Voice voice = PlayingVoice(samples, 1);
    Mixer mixer;
    mixer.SetChannels(1);
    mixer.Attach(&voice);
    std::vector<int16_t> out(3);
    mixer.Mix(out.data(), 3);
    EXPECT_EQ(out, (std::vector<int16_t>{1, 2, 3}));
    // Its last frame played, the voice no longer sounds.
    EXPECT_FALSE(voice.Sounding());
    out.assign(2, 9);
    mixer.Mix(out.data(), 2);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0}));

    voice.Start(false);
    out.assign(5, 9);
    mixer.Mix(out.data(), 5);
    EXPECT_EQ(out, (std::vector<int16_t>{1, 2, 3, 0, 0}));
}

TEST(Mixer, LoopingVoiceStartsOverUntilStopped) {
    const std::vector<int16_t> samples = {1, 2, 3};
    Voice voice = PlayingVoice(samples, 1, true);
    Mixer mixer;
    mixer.SetChannels(1);
    mixer.Attach(&voice);
    std::vector<int16_t> out(7);
    mixer.Mix(out.data(), 7);
    EXPECT_EQ(out, (std::vector<int16_t>{1, 2, 3, 1, 2, 3, 1}));
    EXPECT_TRUE(voice.Sounding());
    voice.Rewind();
    mixer.Mix(out.data(), 7);
    EXPECT_EQ(out, std::vector<int16_t>(7, 0));
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
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], i < ramp.size() ? ramp[i] : 0) << i;
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
    mixer.Mix(out.data(), 2);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0}));
    EXPECT_TRUE(voice.Sounding());
}

}  // namespace
}  // namespace kelvane
