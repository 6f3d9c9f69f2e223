#pragma once
// Sound items arrive as the bytes of a RIFF wave: the "fmt " chunk and the samples.
// The mixer only knows the device's own format, so each item is converted once, when
// it is initialised, and every copy then plays from the converted samples.

#include <cstdint>
#include <optional>
#include <vector>

#include "media/Platform.h"
#include "media/WaveItem.h"

namespace kelvane {

// The leading fields of a "fmt " chunk (WAVEFORMATEX, little-endian).
struct WaveFormat {
    uint16_t FormatTag = 0;
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;
};

// Nothing when the chunk is shorter than the 16 bytes these fields take.
std::optional<WaveFormat> ParseWaveFormat(const std::vector<uint8_t>& chunk);

// True for what ConvertWave can play: integer PCM, 8-bit unsigned or 16-bit signed,
// one or two channels, a sane rate, and a block align that matches the frame size.
bool IsPlayableFormat(const WaveFormat& format);

// Most samples a converted wave may hold (about six minutes of 44.1 kHz stereo); a
// longer result would come only from a broken header, so such a wave plays nothing.
inline constexpr uint64_t MaxConvertedSamples = uint64_t{1} << 25;

// The wave as interleaved signed 16-bit samples in the device's rate and channel count,
// resampled by linear interpolation. Empty for an empty, malformed or unsupported wave
// (which then has no buffer and plays nothing). A trailing partial frame is dropped.
std::vector<int16_t> ConvertWave(const WaveData& wave, const AudioFormat& device);

}  // namespace kelvane
