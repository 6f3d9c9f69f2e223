// Oscillators, filters and envelopes.

#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvane::assets {

namespace {

constexpr float TwoPi = 2 * std::numbers::pi_v<float>;

size_t Samples(float seconds) { return static_cast<size_t>(std::max(0.0f, seconds) * SampleRate); }

template <typename Wave>
Signal Oscillator(float seconds, const Curve& frequency, Wave wave) {
    Signal s(Samples(seconds));
    double phase = 0;  // cycles; double keeps long sweeps free of drift
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = wave(static_cast<float>(phase - std::floor(phase)));
        phase += frequency(static_cast<float>(i) / SampleRate) / SampleRate;
    }
    return s;
}

}  // namespace

Signal Silence(float seconds) { return Signal(Samples(seconds), 0.0f); }

Signal Sine(float seconds, const Curve& frequency) {
    return Oscillator(seconds, frequency, [](float p) { return std::sin(TwoPi * p); });
}

Signal Saw(float seconds, const Curve& frequency) {
    return Oscillator(seconds, frequency, [](float p) { return 2 * p - 1; });
}

Signal Square(float seconds, const Curve& frequency, float duty) {
    return Oscillator(seconds, frequency, [duty](float p) { return p < duty ? 1.0f : -1.0f; });
}

Signal Noise(float seconds, Rng& rng) {
    Signal s(Samples(seconds));
    for (float& v : s) v = rng.Range(-1, 1);
    return s;
}

Signal Filter(const Signal& in, FilterMode mode, const Curve& cutoff, float q) {
    Signal out(in.size());
    float low = 0, band = 0;
    const float damp = 1 / std::max(0.5f, q);
    for (size_t i = 0; i < in.size(); ++i) {
        float fc = std::clamp(cutoff(static_cast<float>(i) / SampleRate), 20.0f, SampleRate / 6.0f);
        float f = 2 * std::sin(std::numbers::pi_v<float> * fc / SampleRate);
        low += f * band;
        float high = in[i] - low - damp * band;
        band += f * high;
        out[i] = mode == FilterMode::LowPass ? low : (mode == FilterMode::BandPass ? band : high);
    }
    return out;
}

void Envelope(Signal& s, float attack, float decay) {
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / SampleRate;
        float g = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        s[i] *= g;
    }
}

void Shape(Signal& s, const Curve& gain) {
    for (size_t i = 0; i < s.size(); ++i) s[i] *= gain(static_cast<float>(i) / SampleRate);
}

void MixInto(Signal& a, const Signal& b, float gain, float offset) {
    size_t start = Samples(offset);
    if (a.size() < start + b.size()) a.resize(start + b.size(), 0.0f);
    for (size_t i = 0; i < b.size(); ++i) a[start + i] += b[i] * gain;
}

void Saturate(Signal& s, float drive) {
    const float norm = std::tanh(drive);
    for (float& v : s) v = std::tanh(v * drive) / norm;
}

void Declick(Signal& s, float seconds) {
    size_t n = std::min(Samples(seconds), s.size() / 2);
    for (size_t i = 0; i < n; ++i) {
        float g = static_cast<float>(i) / n;
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

void NormalisePeak(Signal& s, float peakDb) {
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    if (peak <= 0) return;
    float target = std::pow(10.0f, peakDb / 20.0f);
    for (float& v : s) v *= target / peak;
}

std::vector<uint8_t> PcmFormat() {
    std::vector<uint8_t> f;
    auto u16 = [&f](uint32_t v) { f.push_back(v & 0xFF); f.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    u16(1);               // PCM
    u16(1);               // mono
    u32(SampleRate);
    u32(SampleRate * 2);  // bytes a second
    u16(2);               // block align
    u16(16);              // bits a sample
    return f;
}

std::vector<uint8_t> PcmSamples(const Signal& s) {
    std::vector<uint8_t> out;
    out.reserve(s.size() * 2);
    for (float v : s) {
        long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
        auto u = static_cast<uint16_t>(static_cast<int16_t>(q));
        out.push_back(u & 0xFF);
        out.push_back(u >> 8);
    }
    return out;
}

}  // namespace kelvane::assets
