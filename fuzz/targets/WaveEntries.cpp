// Sounds: the RIFF WAVE payload of a sound item and whole sound archives. Every wave
// read is also converted the way the sound device does when it opens.

#include <memory>

#include "FuzzSupport.h"
#include "media/Archive.h"
#include "media/WaveConvert.h"
#include "media/WaveFile.h"

namespace kelvane::fuzz {

namespace {

// The formats the platform's devices open with: the usual one and a small mono one.
constexpr AudioFormat DeviceFormats[] = {{44100, 2}, {22050, 1}};

void CheckConversion(const WaveData& wave) {
    for (const AudioFormat& device : DeviceFormats) {
        const std::vector<int16_t> samples = ConvertWave(wave, device);
        Check(samples.size() % static_cast<size_t>(device.Channels) == 0,
              "converted wave ends inside a frame");
        Check(samples.size() <= MaxConvertedSamples, "converted wave above the sample limit");
        if (!samples.empty()) {
            const std::optional<WaveFormat> format = ParseWaveFormat(wave.Format);
            Check(format && IsPlayableFormat(*format), "an unplayable wave was converted");
        }
    }
}

bool SameWave(const WaveData& a, const WaveData& b) {
    return a.Format == b.Format && a.Samples == b.Samples;
}

}  // namespace

void FuzzWave(const uint8_t* data, size_t size) {
    WaveData wave;
    try {
        wave = ReadWaveFile(data, size);
    } catch (const std::runtime_error& error) {
        ExpectMessage(error, WaveErrors);
        return;
    }
    Check(wave.Format.size() + wave.Samples.size() <= size, "wave holds more bytes than its file");
    Check(SameWave(ReadWaveFile(BuildWaveFile(wave.Format, wave.Samples)), wave), "wave does not read back");
    CheckConversion(wave);
}

void FuzzWaveArchive(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    WaveCollection collection;
    bool complete = true;
    try {
        ReadWaveArchive(bytes, collection);
    } catch (const std::runtime_error& error) {
        ExpectMessage(error, WaveArchiveErrors);
        complete = false;
    }
    // Items read before an error stay, and the game initialises them like any other.
    size_t held = 0;
    for (const auto& item : collection.Items) {
        Check(item != nullptr, "empty item slot");
        Check(item->MaxPlayingCount >= 0, "negative playing limit");
        held += item->Wave.Format.size() + item->Wave.Samples.size();
        CheckConversion(item->Wave);
    }
    Check(held <= size, "sound items hold more bytes than their archive");
    if (!complete) return;

    WaveCollection again;
    ReadWaveArchive(WriteWaveArchive(collection), again);
    Check(again.Items.size() == collection.Items.size(), "sound archive does not read back: item count");
    for (size_t i = 0; i < again.Items.size(); ++i) {
        const TWaveCollectionItem &a = *collection.Items[i], &b = *again.Items[i];
        Check(a.Name == b.Name && a.Looped == b.Looped && a.MaxPlayingCount == b.MaxPlayingCount &&
                  SameWave(a.Wave, b.Wave),
              "sound archive does not read back: item");
    }
}

}  // namespace kelvane::fuzz
