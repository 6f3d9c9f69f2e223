#pragma once
// A tiny synthesiser for the sound effects: oscillators with swept frequency, noise,
// a state-variable filter, envelopes, soft saturation and 16-bit PCM output.

#include <cstdint>
#include <functional>
#include <vector>

#include "Paint.h"

namespace kelvane::assets {

inline constexpr int SampleRate = 22050;

using Signal = std::vector<float>;
using Curve = std::function<float(float seconds)>;

Signal Silence(float seconds);
// Oscillators whose frequency (Hz) follows a curve over time.
Signal Sine(float seconds, const Curve& frequency);
Signal Saw(float seconds, const Curve& frequency);
Signal Square(float seconds, const Curve& frequency, float duty = 0.5f);
Signal Noise(float seconds, Rng& rng);

enum class FilterMode { LowPass, BandPass, HighPass };
// Chamberlin state-variable filter with a cutoff (Hz) that may move; q 0.5..10.
Signal Filter(const Signal& in, FilterMode mode, const Curve& cutoff, float q = 0.7f);

// Multiplies by an envelope: linear attack, then exponential decay with the time constant.
void Envelope(Signal& s, float attack, float decay);
// Multiplies sample by sample by a curve of time.
void Shape(Signal& s, const Curve& gain);
// Adds `b` scaled by `gain` into `a` from `offset` seconds, growing `a` as needed.
void MixInto(Signal& a, const Signal& b, float gain, float offset = 0);
// tanh saturation: louder body, rounded peaks.
void Saturate(Signal& s, float drive);
// Short fades at both ends so no sound starts or stops with a click.
void Declick(Signal& s, float seconds = 0.004f);
// Scales so the highest peak is at `peakDb` dBFS.
void NormalisePeak(Signal& s, float peakDb);

// The "fmt " chunk (16-byte PCM WAVEFORMATEX) and the "data" samples of a mono 16-bit sound.
std::vector<uint8_t> PcmFormat();
std::vector<uint8_t> PcmSamples(const Signal& s);

}  // namespace kelvane::assets
