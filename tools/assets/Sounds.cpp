// The sound effects, synthesised.

#include "Sounds.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "Synth.h"
#include "world/ArchiveItems.h"

namespace kelvane::assets {

namespace {

constexpr float TwoPi = 2 * std::numbers::pi_v<float>;
constexpr float PeakDb = -3.0f;

// A sweep from a to b with time constant tau.
Curve Sweep(float a, float b, float tau) {
    return [=](float t) { return b + (a - b) * std::exp(-t / tau); };
}
Curve Constant(float v) {
    return [=](float) { return v; };
}

Signal Beam() {
    const float len = 0.75f;
    Curve pitch = [](float t) { return 430 + 14 * std::sin(TwoPi * 31 * t) - 40 * t; };
    Signal s = Saw(len, pitch);
    MixInto(s, Saw(len, [&](float t) { return pitch(t) * 1.007f; }), 0.8f);
    MixInto(s, Sine(len, [&](float t) { return pitch(t) * 2; }), 0.5f);
    s = Filter(s, FilterMode::BandPass, Sweep(2600, 1100, 0.25f), 1.6f);
    Shape(s, [](float t) { return 1 + 0.35f * std::sin(TwoPi * 62 * t); });  // electric buzz
    Shape(s, [](float t) { return t < 0.012f ? t / 0.012f : (t < 0.55f ? 1.0f : std::exp(-(t - 0.55f) / 0.06f)); });
    Saturate(s, 1.6f);
    return s;
}

Signal Launch() {
    Rng rng(0x1A);
    Signal s = Sine(0.8f, Sweep(150, 42, 0.12f));
    Envelope(s, 0.004f, 0.13f);
    Signal whoosh = Filter(Noise(0.8f, rng), FilterMode::BandPass, Sweep(350, 2600, 0.3f), 2.0f);
    Envelope(whoosh, 0.05f, 0.2f);
    MixInto(s, whoosh, 2.2f);
    Signal chirp = Sine(0.25f, Sweep(500, 1400, 0.08f));
    Envelope(chirp, 0.005f, 0.06f);
    MixInto(s, chirp, 0.25f, 0.02f);
    Saturate(s, 1.5f);
    return s;
}

// Big, deep boom with a long rumbling tail.
Signal ExplosionDeep() {
    Rng rng(0xE1);
    Signal s = Filter(Noise(1.5f, rng), FilterMode::LowPass, Sweep(2200, 160, 0.25f), 0.8f);
    Envelope(s, 0.006f, 0.42f);
    Signal thump = Sine(0.6f, Sweep(70, 28, 0.2f));
    Envelope(thump, 0.003f, 0.25f);
    MixInto(s, thump, 0.5f);
    Saturate(s, 2.4f);
    return s;
}

// Crackling burst: noise chopped into random grains.
Signal ExplosionCrackle() {
    Rng rng(0xE2);
    Signal s = Noise(1.1f, rng);
    const size_t grain = SampleRate * 12 / 1000;
    float g = 1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i % grain == 0) g = std::pow(rng.Uniform(), 2.5f);
        s[i] *= g;
    }
    s = Filter(s, FilterMode::BandPass, Sweep(2400, 500, 0.3f), 1.2f);
    Envelope(s, 0.003f, 0.33f);
    Signal rumble = Filter(Noise(1.1f, rng), FilterMode::LowPass, Constant(180), 0.7f);
    Envelope(rumble, 0.02f, 0.4f);
    MixInto(s, rumble, 1.2f);
    Saturate(s, 3.5f);  // the grains are sparse: squeeze them up to the others' loudness
    return s;
}

// Rolling rumble that drops in pitch.
Signal ExplosionRumble() {
    Rng rng(0xE3);
    Signal s = Filter(Noise(1.3f, rng), FilterMode::LowPass, Sweep(700, 90, 0.4f), 1.4f);
    Envelope(s, 0.03f, 0.5f);
    Signal thump = Sine(1.0f, Sweep(95, 24, 0.35f));
    Envelope(thump, 0.01f, 0.35f);
    MixInto(s, thump, 0.4f);
    Signal crack = Filter(Noise(0.15f, rng), FilterMode::HighPass, Constant(1500), 0.7f);
    Envelope(crack, 0.001f, 0.03f);
    MixInto(s, crack, 0.5f);
    Saturate(s, 2.2f);
    return s;
}

// Short, sharp blast.
Signal ExplosionSharp() {
    Rng rng(0xE4);
    Signal s = Noise(0.7f, rng);
    Envelope(s, 0.001f, 0.09f);
    Signal tail = Filter(Noise(0.7f, rng), FilterMode::LowPass, Sweep(1200, 250, 0.15f), 0.8f);
    Envelope(tail, 0.004f, 0.2f);
    MixInto(s, tail, 2.0f);
    Signal thump = Sine(0.4f, Sweep(120, 40, 0.08f));
    Envelope(thump, 0.002f, 0.12f);
    MixInto(s, thump, 0.6f);
    Saturate(s, 2.0f);
    return s;
}

Signal Blip() {
    Signal s = Sine(0.15f, Constant(880));
    MixInto(s, Sine(0.15f, Constant(1320)), 0.3f);
    Envelope(s, 0.003f, 0.04f);
    return s;
}

Signal Disruptor() {
    Signal s = Square(0.35f, Sweep(1150, 240, 0.07f), 0.3f);
    Shape(s, [](float t) { return 0.6f + 0.4f * std::sin(TwoPi * 73 * t); });
    s = Filter(s, FilterMode::LowPass, Sweep(4000, 900, 0.1f), 1.2f);
    Envelope(s, 0.003f, 0.09f);
    Saturate(s, 1.8f);
    return s;
}

Signal Pulse() {
    Curve pitch = [](float t) { return 720 + 260 * (1 - std::exp(-t / 0.03f)) + 20 * std::sin(TwoPi * 45 * t); };
    Signal s = Saw(0.28f, pitch);
    MixInto(s, Sine(0.28f, [&](float t) { return pitch(t) * 0.5f; }), 0.7f);
    s = Filter(s, FilterMode::BandPass, Sweep(2500, 1300, 0.06f), 1.5f);
    Envelope(s, 0.004f, 0.07f);
    Saturate(s, 1.5f);
    return s;
}

std::unique_ptr<TWaveCollectionItem> MakeWaveItem(const std::string& name, Signal s) {
    Declick(s);
    NormalisePeak(s, PeakDb);
    auto item = std::make_unique<TWaveCollectionItem>();
    item->Name = name;
    item->Wave.Format = PcmFormat();
    item->Wave.Samples = PcmSamples(s);
    return item;
}

}  // namespace

WaveCollection BuildSoundCollection() {
    std::vector<std::unique_ptr<TWaveCollectionItem>> items(Sfx::Count);
    items[Sfx::Beam] = MakeWaveItem("Beam", Beam());
    items[Sfx::Launch] = MakeWaveItem("Launch", Launch());
    items[Sfx::ExplosionPart1] = MakeWaveItem("ExplosionDeep", ExplosionDeep());
    items[Sfx::ExplosionPart2] = MakeWaveItem("ExplosionCrackle", ExplosionCrackle());
    items[Sfx::ExplosionPart3] = MakeWaveItem("ExplosionRumble", ExplosionRumble());
    items[Sfx::Blip] = MakeWaveItem("Blip", Blip());
    items[Sfx::Disruptor] = MakeWaveItem("Disruptor", Disruptor());
    items[Sfx::PhaserPulse] = MakeWaveItem("PhaserPulse", Pulse());
    items[Sfx::ExplosionPart4] = MakeWaveItem("ExplosionSharp", ExplosionSharp());
    WaveCollection c;
    for (auto& item : items) {
        if (!item) throw std::logic_error("a sound item has no synthesiser");
        c.Items.push_back(std::move(item));
    }
    return c;
}

}  // namespace kelvane::assets
