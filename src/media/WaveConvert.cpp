#include "media/WaveConvert.h"

#include <algorithm>

#include "base/Rounding.h"

namespace kelvane {

namespace {

constexpr uint16_t PcmFormatTag = 1;
constexpr int MaxDeviceChannels = 8;

uint16_t ReadU16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<uint32_t>(bytes[at + 2]) << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

int BytesPerSample(const WaveFormat& format) { return format.BitsPerSample / 8; }

int16_t SourceSample(const uint8_t* at, int bytesPerSample) {
    if (bytesPerSample == 1) return static_cast<int16_t>((at[0] - 128) * 256);
    return static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8)));
}

// The source frames, already spread over the device's channels: a mono wave feeds the
// first two, a stereo wave its left and right (averaged for a mono device).
std::vector<int16_t> DecodeToDeviceChannels(const WaveData& wave, const WaveFormat& format, size_t frames,
                                            int deviceChannels) {
    const int bytes = BytesPerSample(format);
    std::vector<int16_t> decoded(frames * static_cast<size_t>(deviceChannels), 0);
    for (size_t f = 0; f < frames; ++f) {
        const uint8_t* frame = wave.Samples.data() + f * format.BlockAlign;
        const int16_t left = SourceSample(frame, bytes);
        const int16_t right = format.Channels == 2 ? SourceSample(frame + bytes, bytes) : left;
        int16_t* out = decoded.data() + f * static_cast<size_t>(deviceChannels);
        if (deviceChannels == 1) {
            out[0] = static_cast<int16_t>(RoundEven((left + right) / 2.0));
        } else {
            out[0] = left;
            out[1] = right;
        }
    }
    return decoded;
}

}  // namespace

std::optional<WaveFormat> ParseWaveFormat(const std::vector<uint8_t>& chunk) {
    if (chunk.size() < 16) return std::nullopt;
    WaveFormat format;
    format.FormatTag = ReadU16(chunk, 0);
    format.Channels = ReadU16(chunk, 2);
    format.SamplesPerSec = ReadU32(chunk, 4);
    format.AvgBytesPerSec = ReadU32(chunk, 8);
    format.BlockAlign = ReadU16(chunk, 12);
    format.BitsPerSample = ReadU16(chunk, 14);
    return format;
}

bool IsPlayableFormat(const WaveFormat& format) {
    if (format.FormatTag != PcmFormatTag) return false;
    if (format.Channels != 1 && format.Channels != 2) return false;
    if (format.BitsPerSample != 8 && format.BitsPerSample != 16) return false;
    if (format.SamplesPerSec == 0) return false;
    // Writers that pad their frames are read with the padding skipped; a block smaller
    // than one frame would read samples of the next frame.
    return format.BlockAlign >= format.Channels * BytesPerSample(format);
}

std::vector<int16_t> ConvertWave(const WaveData& wave, const AudioFormat& device) {
    if (wave.Empty()) return {};
    if (device.Frequency <= 0 || device.Channels < 1 || device.Channels > MaxDeviceChannels) return {};
    const std::optional<WaveFormat> format = ParseWaveFormat(wave.Format);
    if (!format || !IsPlayableFormat(*format)) return {};

    const uint64_t inFrames = wave.Samples.size() / format->BlockAlign;
    if (inFrames == 0) return {};
    const uint64_t inRate = format->SamplesPerSec;
    const uint64_t outRate = static_cast<uint64_t>(device.Frequency);
    const uint64_t channels = static_cast<uint64_t>(device.Channels);
    // A wave shorter than one device frame still sounds for that one frame.
    const uint64_t outFrames = std::max<uint64_t>(1, inFrames * outRate / inRate);
    if (outFrames > MaxConvertedSamples / channels) return {};

    const std::vector<int16_t> source = DecodeToDeviceChannels(wave, *format, inFrames, device.Channels);
    if (inRate == outRate) return source;

    std::vector<int16_t> out(outFrames * channels);
    for (uint64_t j = 0; j < outFrames; ++j) {
        // Output frame j lies at j * inRate / outRate source frames: whole part and remainder.
        const uint64_t position = j * inRate;
        const uint64_t index = std::min(position / outRate, inFrames - 1);
        const uint64_t remainder = position % outRate;
        const uint64_t next = std::min(index + 1, inFrames - 1);
        const double fraction = static_cast<double>(remainder) / static_cast<double>(outRate);
        for (uint64_t c = 0; c < channels; ++c) {
            const int a = source[index * channels + c];
            const int b = source[next * channels + c];
            out[j * channels + c] = static_cast<int16_t>(RoundEven(a + (b - a) * fraction));
        }
    }
    return out;
}

}  // namespace kelvane
